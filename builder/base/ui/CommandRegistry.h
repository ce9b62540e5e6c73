#pragma once
// Commands of menus and tool buttons, registered by the file that implements them and bound
// to menu entries by id. A command that nobody registered shows disabled.
//
// Ids used by the main window:
//   file.open file.save file.saveAs file.close wizard.photo wizard.synth app.preferences app.exit
//   edit.undo edit.redo
//   textures.cutAll textures.cut1 textures.cut2 textures.cut3      ("Prepare Textures...")
//   source.scasm source.compile                                     ("W&rite Source Code...")
//   palette.define palette.save project.boundary project.altitudeSources
//   view.gridLines view.gridNodes view.altitudeNodes view.altitudeLabels view.defaultCursor
//   view.crosshair view.moveTexture view.zoomTool view.gridProperties view.projectProperties
//   coord.dms coord.decimal help.online help.contact help.about

#include <functional>
#include <map>
#include <string>

#include <QKeySequence>
#include <QString>

class FrameServices;

struct CommandSpec {
    std::string id;
    QString text;         ///< menu text, with its & mnemonic
    QString statusTip;    ///< text of the status bar while the entry is highlighted
    QKeySequence shortcut;
    std::function<void(FrameServices&)> run;
    /// Enabled rule; an empty function means always enabled.
    std::function<bool(FrameServices&)> enabled;
    /// Checked rule for checkable commands; empty means not checkable.
    std::function<bool(FrameServices&)> checked;
};

class CommandRegistry {
public:
    static CommandRegistry& instance();
    void add(CommandSpec command);
    const CommandSpec* find(const std::string& id) const;
    const std::map<std::string, CommandSpec>& all() const { return commands_; }

private:
    std::map<std::string, CommandSpec> commands_;
};

/// Registers a command at start-up: `static CommandRegistrar reg{{"id", "&Text", ...}};`
struct CommandRegistrar {
    explicit CommandRegistrar(CommandSpec command) { CommandRegistry::instance().add(std::move(command)); }
};
