#include <gtest/gtest.h>

#include "platform/CArray.h"

TEST(CArray, OperazioniDiBase)
{
    CArray<int> a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetData(), nullptr);
    a.Add(1);
    a.Add(3);
    a.InsertAt(1, 2);
    a.InsertAt(3, 4);
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a.GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a[i], i + 1);
    a.RemoveAt(0);
    EXPECT_EQ(a.GetAt(0), 2);
    a.SetAt(0, 7);
    a.ElementAt(1) = 8;
    EXPECT_EQ(a[0], 7);
    EXPECT_EQ(a[1], 8);
    a.Append(a);
    EXPECT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[5], 4);
    CArray<int> b;
    b.Copy(a);
    EXPECT_EQ(b.GetSize(), 6);
    b.SetSize(2);
    EXPECT_EQ(b.GetSize(), 2);
    b.RemoveAll();
    EXPECT_TRUE(b.IsEmpty());
}

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
