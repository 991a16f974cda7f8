#include "platform/gl/VectorMath.h"

#include <gtest/gtest.h>

using namespace nupo;

TEST(VectorMath, ArithmeticCrossAndNorm)
{
    const float a[3] = {1, 2, 3};
    const float b[3] = {4, 5, 6};
    float v[3];
    add(v, a, b);
    EXPECT_EQ(v[0], 5);
    EXPECT_EQ(v[2], 9);
    sub(v, a, b);
    EXPECT_EQ(v[1], -3);
    cross(v, a, b);  // (2*6 - 3*5, 3*4 - 1*6, 1*5 - 2*4)
    EXPECT_EQ(v[0], -3);
    EXPECT_EQ(v[1], 6);
    EXPECT_EQ(v[2], -3);
    copy(v, b);
    scalDiv(v, 2);
    EXPECT_EQ(v[0], 2);
    EXPECT_EQ(v[1], 2.5f);
    set(v, 3, 0, 4);
    norm(v);
    EXPECT_FLOAT_EQ(v[0], 0.6f);
    EXPECT_FLOAT_EQ(v[2], 0.8f);
    set(v, 0, 0, 0);  // no direction: stays zero, not NaN
    norm(v);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[2], 0);
}
