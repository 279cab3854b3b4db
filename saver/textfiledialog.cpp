// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfiledialog.h"

#include "vocabularytarget.h"

#include <QFileInfo>
#include <QLineEdit>

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
    const QStringList typed = selectedFiles();
    if (typed.size() != 1) {
        QFileDialog::accept();
        return;
    }
    if (QFileInfo(typed.first()).isDir()) {
        setDirectory(typed.first());
        if (QLineEdit *field = nameField())
            field->clear();
        selectNameFilter(filter);
        return;
    }
    const QString named = withTextSuffix(typed.first());
    if (named != typed.first()) {
        // selectFile() leaves a typed name as it is when the file exists.
        if (QLineEdit *field = nameField())
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
