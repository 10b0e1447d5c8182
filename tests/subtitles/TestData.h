#pragma once

#include "TestFiles.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace lurvo::test {

inline QString dataPath(const QString& relative) {
    return QStringLiteral(LURVO_TEST_DATA "/") + relative;
}

inline QByteArray readData(const QString& relative) {
    QFile file(dataPath(relative));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
    return file.readAll();
}

} // namespace lurvo::test
