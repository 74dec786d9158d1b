#pragma once

#include "DataModule.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>

// A fresh player database in a temporary folder, connected through DataModule.
class PlayerDbTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Runs SQL past the stores, as another program would, and returns the first row.
    QVariantList rawRow(const QString& sql, const QVariantList& values = {});
    void rawExec(const QString& sql, const QVariantList& values = {});

    QTemporaryDir dir;
    tessaly::DataModule module;
};
