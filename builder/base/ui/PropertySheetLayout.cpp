#include "base/ui/PropertySheetLayout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

void layOutPropertySheet(QDialog& sheet, QTabWidget* tabs, QPushButton* ok, QPushButton* cancel,
                         QPushButton* apply, std::function<void()> applyPages)
{
    layOutCheckedPropertySheet(sheet, tabs, ok, cancel, apply, [applyPages] {
        applyPages();
        return true;
    });
}

void layOutCheckedPropertySheet(QDialog& sheet, QTabWidget* tabs, QPushButton* ok, QPushButton* cancel,
                                QPushButton* apply, std::function<bool()> applyPages)
{
    ok->setDefault(true);
    apply->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(apply);
    auto* layout = new QVBoxLayout(&sheet);
    layout->addWidget(tabs);
    layout->addLayout(buttons);

    QObject::connect(ok, &QPushButton::clicked, &sheet, [&sheet, applyPages] {
        if (applyPages())
            sheet.accept();
    });
    // reject() is virtual: a sheet that undoes live changes on Cancel gets its own.
    QObject::connect(cancel, &QPushButton::clicked, &sheet, &QDialog::reject);
    QObject::connect(apply, &QPushButton::clicked, &sheet, [apply, applyPages] {
        if (applyPages())
            apply->setEnabled(false);
    });
}
