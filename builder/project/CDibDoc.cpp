#include "project/CDibDoc.h"

#include "project/AppContext.h"
#include "imagery/DefaultColors.h"
#include "project/CopyrightNotice.h"

CDibDoc::CDibDoc(AppContext& context) : app(context), copyrightText(kCopyrightNotice)
{
    readDefaultColors(*this);
    app.addDocument(this);
}

CDibDoc::~CDibDoc()
{
    app.removeDocument(this);
}

void CDibDoc::setModified(bool value)
{
    if (!value)
        undoStack.setClean();
    else if (!undoStack.busy())
        undoStack.loseClean();
    // While an edit is being recorded the history decides once it is recorded.
    if (value && undoStack.busy())
        return;
    const bool changed = modified != value;
    modified = value;
    if (changed && onModifiedChanged)
        onModifiedChanged();
}

void CDibDoc::modifiedFollowsHistory()
{
    const bool value = !undoStack.isClean();
    const bool changed = modified != value;
    modified = value;
    if (changed && onModifiedChanged)
        onModifiedChanged();
}
