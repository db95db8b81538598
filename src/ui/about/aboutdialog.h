// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class LangDoc;

// The About box: the program's title, version and credits.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // Captions from lang's frmAbout_Design section; %1 stands for the
    // program's name and its version.
    void applyCaptions(const LangDoc &lang);

private:
    void fillInNames();
};
