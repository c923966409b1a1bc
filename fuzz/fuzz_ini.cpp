// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The settings reader on any bytes: it never crashes, and what it writes reads back the same.

#include "IniStore.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ozv::IniStore store;
    if (!store.parseBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        return 0;
    const QByteArray written = store.serialize();
    ozv::IniStore again;
    if (!again.parseBytes(written) || again.serialize() != written)
        std::abort(); // a write that does not read back would lose the operator's settings
    for (const QString& section : store.sectionNames())
        for (const QString& key : store.keyNames(section)) {
            (void)store.ReadInteger(section, key, 0);
            (void)store.ReadFloat(section, key, 0);
            (void)store.ReadBool(section, key, true);
        }
    return 0;
}
