#pragma once
// The project's undo history: every recorded edit can be taken back and made again, and the
// project knows whether it stands where it was last saved.
//
// An edit is recorded after it was made (see SnapshotEdit.h): the project is already in the new
// state, so push() does not run the edit again.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDibDoc;

class UndoCommand {
public:
    virtual ~UndoCommand() = default;
    virtual void undo(CDibDoc& doc) = 0;
    virtual void redo(CDibDoc& doc) = 0;
    /// What the edit did, for "Undo <text>" in the Edit menu.
    virtual std::string text() const = 0;
};

class UndoStack {
public:
    /// The oldest edits are let go beyond this many; their memory may be large (altitude maps).
    static constexpr std::size_t kLimit = 50;

    /// Records an edit that has been made. Drops the edits that were undone before it.
    void push(std::unique_ptr<UndoCommand> command);

    bool canUndo() const { return index_ > 0; }
    bool canRedo() const { return index_ < commands_.size(); }
    std::string undoText() const;
    std::string redoText() const;
    std::size_t count() const { return commands_.size(); }
    std::size_t index() const { return index_; }

    /// Take back / make again one edit of `doc`; nothing when there is none.
    void undo(CDibDoc& doc);
    void redo(CDibDoc& doc);

    /// Forgets every edit; the current state counts as unsaved (a project just made).
    void clear()
    {
        commands_.clear();
        index_ = 0;
        clean_.reset();
    }

    /// The current state is the one on disk (after a save or a load).
    void setClean() { clean_ = index_; }
    /// A change outside the history: no undo leads back to the saved state.
    void loseClean() { clean_.reset(); }
    bool isClean() const { return clean_ && *clean_ == index_; }
    /// True while an edit is being made for recording, undone or redone: the modified mark
    /// is then the history's business.
    bool busy() const { return busy_ > 0; }

    /// Marks the stack busy for its lifetime (an edit being made before it is recorded).
    class Busy {
    public:
        explicit Busy(UndoStack& stack) : stack_(stack) { ++stack_.busy_; }
        ~Busy() { --stack_.busy_; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        UndoStack& stack_;
    };

private:
    std::vector<std::unique_ptr<UndoCommand>> commands_;
    std::size_t index_ = 0;                 ///< commands_[0, index_) are done
    std::optional<std::size_t> clean_ = 0;  ///< the index of the saved state, if still reachable
    int busy_ = 0;
};
