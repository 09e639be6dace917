#include <gtest/gtest.h>

#include "platform/CArray.h"

TEST(CArray, IndiceFuoriLanciaInvalidArgument)
{
    CArray<double> a;
    a.Add(1.0);
    const CArray<double>& c = a;
    EXPECT_THROW(a[1], std::invalid_argument);
    EXPECT_THROW(a[-1], std::invalid_argument);
    EXPECT_THROW(c.GetAt(1), std::invalid_argument);
    EXPECT_THROW(a.SetAt(2, 0.0), std::invalid_argument);
    EXPECT_THROW(a.ElementAt(-1), std::invalid_argument);
    EXPECT_THROW(a.RemoveAt(1), std::invalid_argument);
    EXPECT_THROW(a.InsertAt(2, 0.0), std::invalid_argument);
    EXPECT_THROW(a.SetSize(-1), std::invalid_argument);
    EXPECT_NO_THROW(a.InsertAt(1, 2.0));
}
