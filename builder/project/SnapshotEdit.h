#pragma once
// The usual kind of recorded edit: the part of the project it touches is copied before and after,
// and undo / redo put the copy back. New edits need only say what to copy and how to put it back:
//
//     recordEdit<GeoRect>(doc, "Boundary", getBoundary, setBoundary, [&] { ...; return true; });

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "project/CDibDoc.h"
#include "project/UndoStack.h"

template <class State>
class SnapshotEdit : public UndoCommand {
public:
    using Restore = std::function<void(CDibDoc&, const State&)>;

    SnapshotEdit(std::string text, State before, State after, Restore restore)
        : text_(std::move(text)), before_(std::move(before)), after_(std::move(after)), restore_(std::move(restore))
    {
    }
    void undo(CDibDoc& doc) override { restore_(doc, before_); }
    void redo(CDibDoc& doc) override { restore_(doc, after_); }
    std::string text() const override { return text_; }

private:
    std::string text_;
    State before_;
    State after_;
    Restore restore_;
};

/// Makes an edit and records it: `capture` copies the touched state, `edit` changes the project
/// and returns whether it did, `restore` puts a copy back (with whatever follows from it, such as
/// derived values). Nothing is recorded when the edit changed nothing. Returns what `edit` returned.
template <class State, class Capture, class Edit>
bool recordEdit(CDibDoc& doc, std::string text, Capture capture,
                typename SnapshotEdit<State>::Restore restore, Edit edit)
{
    State before = capture(doc);
    bool changed = false;
    {
        UndoStack::Busy busy(doc.undoStack);
        changed = edit();
    }
    if (!changed)
        return false;
    doc.undoStack.push(std::make_unique<SnapshotEdit<State>>(std::move(text), std::move(before), capture(doc),
                                                             std::move(restore)));
    doc.modifiedFollowsHistory();
    return true;
}
