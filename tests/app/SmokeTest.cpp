#include <gtest/gtest.h>

#include "support/TestSupport.h"

#include <QFileInfo>

TEST(Build, SourceTreeIsReachable)
{
    EXPECT_TRUE(QFileInfo::exists(nupo::test::sourcePath("CMakeLists.txt")));
}
