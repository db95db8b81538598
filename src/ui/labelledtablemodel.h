// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The model moved to the editor layer; this keeps old includes working.
#include "editor/labelledtablemodel.h"
