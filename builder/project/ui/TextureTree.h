#pragma once
// The texture library as a tree grouped by class name, shared by the texture chooser and the
// Synthetic page of the chunk properties.

#include <functional>

class AppContext;
class QTreeWidget;
class QTreeWidgetItem;
class Texture;

/// Lists the library in library order: a new top-level node, named after the texture's class,
/// starts whenever that name differs from the current group's; each texture that `show` accepts
/// is listed under its group by its file name. Every group node is made, even when it stays empty.
void fillTextureTree(QTreeWidget& tree, const AppContext& app, const std::function<bool(const Texture&)>& show);

/// The library index of the first texture named as the item; the library size for a group node
/// or no item.
long textureIndexOfItem(const AppContext& app, const QTreeWidgetItem* item);
