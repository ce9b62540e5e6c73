#include "project/UndoStack.h"

#include "project/CDibDoc.h"

void UndoStack::push(std::unique_ptr<UndoCommand> command)
{
    if (!command)
        return;
    commands_.resize(index_);
    // The saved state was among the dropped edits: no way leads back to it now.
    if (clean_ && *clean_ > index_)
        clean_.reset();
    commands_.push_back(std::move(command));
    ++index_;
    if (commands_.size() > kLimit) {
        commands_.erase(commands_.begin());
        --index_;
        if (clean_) {
            if (*clean_ == 0)
                clean_.reset();
            else
                --*clean_;
        }
    }
}

std::string UndoStack::undoText() const
{
    return canUndo() ? commands_[index_ - 1]->text() : std::string();
}

std::string UndoStack::redoText() const
{
    return canRedo() ? commands_[index_]->text() : std::string();
}

void UndoStack::undo(CDibDoc& doc)
{
    if (!canUndo())
        return;
    {
        Busy busy(*this);
        commands_[index_ - 1]->undo(doc);
    }
    --index_;
    doc.modifiedFollowsHistory();
}

void UndoStack::redo(CDibDoc& doc)
{
    if (!canRedo())
        return;
    {
        Busy busy(*this);
        commands_[index_]->redo(doc);
    }
    ++index_;
    doc.modifiedFollowsHistory();
}
