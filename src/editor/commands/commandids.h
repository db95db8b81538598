// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The ids the document's undo commands report, one per kind of change.
namespace CommandId {
enum : int {
    EditText = 1,
    EditTime,
    InsertSubtitle,
    DeleteSubtitle,
    RestoreCorrection,
};
} // namespace CommandId
