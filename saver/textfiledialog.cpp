// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfiledialog.h"

#include "vocabularytarget.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>

#include <algorithm>

TextFileDialog::TextFileDialog(const QString &caption, const QString &filter, QWidget *parent)
    : QFileDialog(parent, caption, QString(), filter)
    , filter(filter)
{
    setAcceptMode(QFileDialog::AcceptSave);
}

QString TextFileDialog::chosenFile() const
{
    return withTextSuffix(selectedFiles().value(0));
}

void TextFileDialog::accept()
{
    // The name typed is the one chosen: a row the list picked while a
    // folder's name was typed before (the dialog picks it as the folder's
    // contents load) would stand for it, and the folder would open again.
    QLineEdit *field = nameField();
    if (field && !field->text().isEmpty()) {
        const QString typedName = QFileInfo(field->text()).fileName();
        for (QAbstractItemView *view : findChildren<QAbstractItemView *>()) {
            QItemSelectionModel *selection = view->selectionModel();
            if (!selection)
                continue;
            const QModelIndexList rows = selection->selectedRows();
            if (std::any_of(rows.cbegin(), rows.cend(),
                            [&typedName](const QModelIndex &row) { return row.data().toString() != typedName; }))
                selection->clearSelection();
        }
    }
    const QStringList typed = selectedFiles();
    if (typed.size() != 1) {
        QFileDialog::accept();
        return;
    }
    if (QFileInfo(typed.first()).isDir()) {
        setDirectory(typed.first());
        if (field)
            field->clear();
        selectNameFilter(filter);
        return;
    }
    const QString named = withTextSuffix(typed.first());
    if (named != typed.first()) {
        // selectFile() leaves a typed name as it is when the file exists.
        if (field)
            field->setText(named);
        else
            selectFile(named);
    }
    QFileDialog::accept();
}

QLineEdit *TextFileDialog::nameField() const
{
    return findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}
