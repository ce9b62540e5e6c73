#include "project/AppContext.h"

#include <algorithm>

#include "base/PathUtil.h"

AppContext::AppContext(Platform& p) : platform(p), noMatchTexture(std::make_unique<Texture>())
{
    noMatchTexture->name = "NoMatch.bmp";
    noMatchTexture->kind = 0;
    settings.applicationPath = PathUtil::currentFolder();
}

AppContext::~AppContext() = default;

void AppContext::addDocument(CDibDoc* doc)
{
    if (std::find(documents.begin(), documents.end(), doc) == documents.end())
        documents.push_back(doc);
}

void AppContext::removeDocument(CDibDoc* doc)
{
    documents.erase(std::remove(documents.begin(), documents.end(), doc), documents.end());
}
