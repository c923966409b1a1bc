// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // picture decoding and fonts
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
