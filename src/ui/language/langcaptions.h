// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class LangDoc;
class QWidget;

// The dynamic property that marks a member of an indexed control group
// (the Languages menu's items): its index X, looked up as "<name>_<X>".
inline constexpr char ControlIndexProperty[] = "controlIndex";

// Replaces the captions and tooltips of window and its children from the
// window's "<objectName>_Design" element of lang, finding each item by its
// control's objectName: "N" and "N_ToolTipText", "N_X" for indexed groups,
// "N_i" for the column headers of a table and "N_i_ToolTipText" for the
// buttons of a tool bar (counting separators). A combo box's caption is the
// text it shows while nothing is chosen. A missing attribute leaves the text
// as it is; an empty one blanks it.
void ApplyLangCaptions(QWidget &window, const LangDoc &lang);

// text as a tooltip shows it, character for character: a tooltip would
// otherwise take text that looks like HTML as HTML (and load its images).
QString plainToolTip(const QString &text);
