#include "base/ui/CommandRegistry.h"

CommandRegistry& CommandRegistry::instance()
{
    static CommandRegistry registry;
    return registry;
}

void CommandRegistry::add(CommandSpec command)
{
    const std::string id = command.id;
    commands_[id] = std::move(command);
}

const CommandSpec* CommandRegistry::find(const std::string& id) const
{
    auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : &it->second;
}
