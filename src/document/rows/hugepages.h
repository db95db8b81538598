// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// Asks the system to back the whole 2 MiB pages inside [data, data + bytes)
// with huge pages when they are first touched. Worth it for buffers of
// many megabytes that are filled right away: one fault per 2 MiB instead of
// one per 4 KiB, and far fewer address-translation misses when they are
// read (in a virtual machine each such miss walks two page tables). Call
// it before the memory is written; it changes nothing else. Buffers under
// 8 MiB are left alone.
void adviseHugePages(void *data, qsizetype bytes);
