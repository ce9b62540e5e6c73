// The project's undo history: the order of undo and redo, the modified mark that follows it,
// saving as the clean state, and the recorded boundary and altitude map edits.

#include <gtest/gtest.h>

#include <memory>

#include "altitude/AltitudeMapsSnapshot.h"
#include "project/AppContext.h"
#include "project/BoundaryEdit.h"
#include "project/CDibDoc.h"
#include "project/ChunksEdit.h"
#include "project/FsItemEdits.h"
#include "project/SnapshotEdit.h"
#include "support/ScriptedPlatform.h"

namespace {

class UndoHistoryTest : public ::testing::Test {
protected:
    UndoHistoryTest() : app(platform), doc(app) { platform.messages.clear(); }

    // An edit of one number, recorded the way every edit is.
    bool setLabel(int value)
    {
        return recordEdit<int>(
            doc, "Label " + std::to_string(value), [](const CDibDoc& d) { return d.labelCounter; },
            [](CDibDoc& d, const int& v) { d.labelCounter = v; },
            [&] {
                if (doc.labelCounter == value)
                    return false;
                doc.labelCounter = value;
                doc.setModified();   // edits mark the project as they always did
                return true;
            });
    }

    ScriptedPlatform platform;
    AppContext app;
    CDibDoc doc;
};

TEST_F(UndoHistoryTest, UndoAndRedoWalkTheEditsInOrder)
{
    EXPECT_FALSE(doc.undoStack.canUndo());
    EXPECT_FALSE(doc.undoStack.canRedo());
    doc.undoStack.undo(doc);   // nothing to undo is no fault
    ASSERT_TRUE(setLabel(1));
    ASSERT_TRUE(setLabel(2));
    EXPECT_FALSE(setLabel(2));   // no change, no step
    EXPECT_EQ(doc.undoStack.count(), 2u);
    EXPECT_EQ(doc.undoStack.undoText(), "Label 2");

    doc.undoStack.undo(doc);
    EXPECT_EQ(doc.labelCounter, 1);
    EXPECT_EQ(doc.undoStack.redoText(), "Label 2");
    doc.undoStack.undo(doc);
    EXPECT_EQ(doc.labelCounter, 0);
    EXPECT_FALSE(doc.undoStack.canUndo());
    doc.undoStack.redo(doc);
    EXPECT_EQ(doc.labelCounter, 1);

    // A new edit drops what was undone.
    ASSERT_TRUE(setLabel(7));
    EXPECT_FALSE(doc.undoStack.canRedo());
    doc.undoStack.undo(doc);
    EXPECT_EQ(doc.labelCounter, 1);
}

TEST_F(UndoHistoryTest, TheModifiedMarkFollowsTheHistoryAndSavingMarksTheCleanState)
{
    int notices = 0;
    doc.onModifiedChanged = [&] { ++notices; };
    doc.setModified(false);   // as loaded
    ASSERT_TRUE(setLabel(1));
    EXPECT_TRUE(doc.modified);
    doc.undoStack.undo(doc);
    EXPECT_FALSE(doc.modified);
    doc.undoStack.redo(doc);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(notices, 3);

    doc.setModified(false);   // saved with label 1
    ASSERT_TRUE(setLabel(2));
    doc.undoStack.undo(doc);
    EXPECT_FALSE(doc.modified);
    doc.undoStack.undo(doc);
    EXPECT_TRUE(doc.modified);   // label 0 is not what was saved
    doc.undoStack.redo(doc);
    EXPECT_FALSE(doc.modified);

    // A saved state among the dropped edits cannot be reached again.
    doc.undoStack.redo(doc);     // label 2, saved was label 1
    doc.setModified(false);      // saved with label 2
    doc.undoStack.undo(doc);
    ASSERT_TRUE(setLabel(5));
    doc.undoStack.undo(doc);
    EXPECT_TRUE(doc.modified);

    // A change made outside the history keeps the mark whatever is undone.
    doc.setModified(false);
    doc.setModified(true);
    ASSERT_TRUE(setLabel(9));
    doc.undoStack.undo(doc);
    EXPECT_TRUE(doc.modified);
}

TEST_F(UndoHistoryTest, TheOldestEditsAreLetGoBeyondTheLimit)
{
    doc.setModified(false);
    for (int i = 1; i <= static_cast<int>(UndoStack::kLimit) + 5; ++i)
        ASSERT_TRUE(setLabel(i));
    EXPECT_EQ(doc.undoStack.count(), UndoStack::kLimit);
    while (doc.undoStack.canUndo())
        doc.undoStack.undo(doc);
    EXPECT_EQ(doc.labelCounter, 5);
    EXPECT_TRUE(doc.modified);   // the saved state went with the oldest edits
}

TEST_F(UndoHistoryTest, BoundaryEditsCarryTheSceneryDimensions)
{
    doc.chunkColumns = 4;
    doc.setModified(false);
    ASSERT_TRUE(editBoundary(doc, GeoRect{44.0, 44.1, 15.0, 15.1}));
    const double width = doc.sceneryWidthKm;
    EXPECT_GT(width, 0.0);
    EXPECT_FALSE(editBoundary(doc, GeoRect{44.0, 44.1, 15.0, 15.1}));
    ASSERT_TRUE(editBoundary(doc, GeoRect{44.0, 44.2, 15.0, 15.2}));
    EXPECT_EQ(doc.undoStack.undoText(), "Boundary");
    doc.undoStack.undo(doc);
    EXPECT_EQ(doc.boundary, (GeoRect{44.0, 44.1, 15.0, 15.1}));
    EXPECT_DOUBLE_EQ(doc.sceneryWidthKm, width);
    doc.undoStack.undo(doc);
    EXPECT_EQ(doc.boundary, GeoRect{});
    EXPECT_EQ(doc.sceneryWidthKm, 0.0);
    EXPECT_FALSE(doc.modified);
}

TEST_F(UndoHistoryTest, AltitudeMapChangesAreOneStepEach)
{
    auto addMap = [&](const std::string& title, std::vector<AltitudeRecord> records) {
        auto map = std::make_unique<AltitudeMap>();
        map->title = title;
        map->records = std::move(records);
        doc.altitudeMaps.push_back(std::move(map));
    };
    addMap("first", {{1.0, 2.0, 3}});
    doc.setModified(false);

    // Added, then a setting changed, then deleted: three sheet sessions.
    AltitudeMapsSnapshot before = AltitudeMapsSnapshot::of(doc);
    EXPECT_FALSE(recordAltitudeMapsEdit(doc, "Altitude Maps", before));   // nothing changed
    addMap("second", {{4.0, 5.0, 6}, {4.5, 5.5, 7}});
    ASSERT_TRUE(recordAltitudeMapsEdit(doc, "Altitude Maps", before));
    before = AltitudeMapsSnapshot::of(doc);
    doc.altitudeMaps[1]->waterLevel = 12;
    ASSERT_TRUE(recordAltitudeMapsEdit(doc, "Altitude Maps", before));
    before = AltitudeMapsSnapshot::of(doc);
    doc.altitudeMaps.erase(doc.altitudeMaps.begin());
    ASSERT_TRUE(recordAltitudeMapsEdit(doc, "Altitude Maps", before));
    EXPECT_TRUE(doc.modified);

    doc.undoStack.undo(doc);
    ASSERT_EQ(doc.altitudeMaps.size(), 2u);
    EXPECT_EQ(doc.altitudeMaps[0]->title, "first");
    EXPECT_EQ(doc.altitudeMaps[1]->title, "second");
    EXPECT_EQ(doc.altitudeMaps[1]->waterLevel, 12);
    EXPECT_EQ(doc.altitudeMaps[1]->owner, &doc);
    doc.undoStack.undo(doc);
    EXPECT_EQ(doc.altitudeMaps[1]->waterLevel, 0);
    doc.undoStack.undo(doc);
    ASSERT_EQ(doc.altitudeMaps.size(), 1u);
    EXPECT_EQ(doc.altitudeMaps[0]->records, (std::vector<AltitudeRecord>{{1.0, 2.0, 3}}));
    EXPECT_FALSE(doc.modified);
    doc.undoStack.redo(doc);
    EXPECT_EQ(doc.altitudeMaps.size(), 2u);
    EXPECT_EQ(doc.altitudeMaps[1]->records.size(), 2u);
}

TEST_F(UndoHistoryTest, FsItemsAndChunkSessionsAreStepsToo)
{
    doc.setModified(false);
    doc.clickPixelX = 3;
    doc.clickPixelY = 4;
    FsMenuPositionItem position;
    position.title = "Home";
    ASSERT_TRUE(addMenuPositionItem(doc, position));
    ASSERT_TRUE(addMacroItem(doc, "tree.scm", {"1"}));
    ASSERT_TRUE(deleteMenuPositionItem(doc, 0));
    EXPECT_FALSE(deleteMacroItem(doc, 5));   // nothing there: no step
    EXPECT_EQ(doc.undoStack.count(), 3u);
    EXPECT_EQ(doc.undoStack.undoText(), "Delete FS Position");
    doc.undoStack.undo(doc);
    ASSERT_EQ(doc.menuPositionItems.size(), 1u);
    EXPECT_EQ(doc.menuPositionItems[0].title, "Home");
    doc.undoStack.undo(doc);
    EXPECT_TRUE(doc.macroItems.empty());
    doc.undoStack.undo(doc);
    EXPECT_TRUE(doc.menuPositionItems.empty());
    EXPECT_FALSE(doc.modified);

    // A chunk sheet session: values changed while the selection stays the view's.
    doc.chunks.resize(2);
    doc.setModified(false);
    std::vector<TexReliefChunk> before = doc.chunks;
    EXPECT_FALSE(recordChunksEdit(doc, "Chunk Properties", before));
    doc.chunks[1].properties.gridDensity = 16;
    doc.chunks[1].chunkValueC = 2;
    ASSERT_TRUE(recordChunksEdit(doc, "Chunk Properties", before));
    EXPECT_TRUE(doc.modified);
    doc.chunks[0].selected = 1;
    doc.undoStack.undo(doc);
    EXPECT_EQ(doc.chunks[1].properties.gridDensity, 4);
    EXPECT_EQ(doc.chunks[1].chunkValueC, 0);
    EXPECT_EQ(doc.chunks[0].selected, 1);
    EXPECT_FALSE(doc.modified);
    doc.undoStack.redo(doc);
    EXPECT_EQ(doc.chunks[1].properties.gridDensity, 16);
}

} // namespace
