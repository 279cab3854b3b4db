// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef TEXTFILEDIALOG_H
#define TEXTFILEDIALOG_H

#include <QFileDialog>

class QLineEdit;

// The dialog that names a new vocabulary file. A name typed without a suffix
// becomes a .txt file (withTextSuffix), and the dialog asks about an existing
// file under that name. Qt's own default suffix is left unset: it is added
// only to a typed path without any dot, so "Film.2019/words" stayed "words",
// and it turned a folder's name into a new file's. A folder's name opens the
// folder, as in any save dialog, with an empty name field.
class TextFileDialog : public QFileDialog
{
public:
    TextFileDialog(const QString &caption, const QString &filter, QWidget *parent = nullptr);

    // The file chosen, also when a desktop's own dialog chose it.
    QString chosenFile() const;

    void accept() override;

private:
    // The field the learner types the name into, in Qt's own dialog.
    QLineEdit *nameField() const;

    QString filter;
};

#endif // TEXTFILEDIALOG_H
