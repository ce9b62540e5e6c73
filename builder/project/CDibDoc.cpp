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
    const bool changed = modified != value;
    modified = value;
    if (changed && onModifiedChanged)
        onModifiedChanged();
}
