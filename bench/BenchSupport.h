// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Shared by the benchmarks: a scratch folder kept for the whole run, and the process's memory.

#include <QString>

namespace ozv::bench {

/// A folder below the system's temporary folder, removed at exit.
QString scratch(const QString& name);
/// Resident memory of this process in KiB.
long residentKiB();

} // namespace ozv::bench
