#include "project/ui/TextureTree.h"

#include <QTreeWidget>

#include "project/AppContext.h"

namespace {
QString classNameOf(const AppContext& app, const Texture& texture)
{
    const auto& classes = app.settings.textureClasses;
    if (texture.classCode >= 0 && static_cast<std::size_t>(texture.classCode) < classes.size())
        return QString::fromStdString(classes[static_cast<std::size_t>(texture.classCode)].name);
    return QStringLiteral("No Match");
}
} // namespace

void fillTextureTree(QTreeWidget& tree, const AppContext& app, const std::function<bool(const Texture&)>& show)
{
    tree.clear();
    QTreeWidgetItem* group = nullptr;
    for (const auto& texture : app.textureLibrary) {
        const QString name = classNameOf(app, *texture);
        if (!group || group->text(0) != name) {
            group = new QTreeWidgetItem(&tree, QStringList(name));
            group->setData(0, Qt::UserRole, true);
        }
        if (show(*texture))
            new QTreeWidgetItem(group, QStringList(QString::fromStdString(texture->name)));
    }
}

long textureIndexOfItem(const AppContext& app, const QTreeWidgetItem* item)
{
    const long none = static_cast<long>(app.textureLibrary.size());
    if (!item || item->data(0, Qt::UserRole).toBool())
        return none;
    const std::string name = item->text(0).toStdString();
    for (std::size_t i = 0; i < app.textureLibrary.size(); ++i)
        if (app.textureLibrary[i]->name == name)
            return static_cast<long>(i);
    return none;
}
