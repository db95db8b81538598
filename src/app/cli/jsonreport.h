// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

class LangDoc;
struct FileCorrectionReport;

// One line of JSON for one file: its figures, its records, and "error" when
// it failed; a file that could not even be read gives only file and error.
QString jsonReportLine(const FileCorrectionReport &report, const LangDoc &lang);

// text as a JSON string literal, quotes included.
QString jsonString(QStringView text);
