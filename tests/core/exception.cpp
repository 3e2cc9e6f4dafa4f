#include "core/exception.hpp"

#include <gtest/gtest.h>

#include "core/helpers.hpp"

namespace {

std::exception_ptr Chain(int length) {
    std::exception_ptr cause;
    for (int i = length; i >= 1; --i)
        cause = std::make_exception_ptr(AssertException("m" + std::to_string(i), cause));
    return cause;
}

int CountLines(const std::string& s, const std::string& needle) {
    int n = 0;
    for (size_t at = s.find(needle); at != std::string::npos; at = s.find(needle, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(Exception, TypeNamesOfTheFamily) {
    EXPECT_EQ(BriskException().FullType(), "brisk.exception.BriskException");
    EXPECT_EQ(BriskException().Type(), "BriskException");
    EXPECT_EQ(AssertException().FullType(), "brisk.exception.AssertException");
    EXPECT_EQ(ConcurrentModificationException().Type(), "ConcurrentModificationException");
    EXPECT_EQ(IndexOutOfBoundsException().FullType(), "brisk.exception.IndexOutOfBoundsException");
    EXPECT_EQ(IllegalArgumentException().FullType(), "brisk.exception.IllegalArgumentException");
    EXPECT_EQ(XMLParseException().FullType(), "brisk.exception.XMLParseException");
    EXPECT_EQ(UnsupportedOperationException().FullType(), "brisk.exception.UnsupportedOperationException");
    EXPECT_EQ(FormatException().Type(), "FormatException");
    // The object keeps the runtime's fixed text; its own description is the full chain.
    AssertException e("x", std::make_exception_ptr(IndexOutOfBoundsException("y")));
    EXPECT_EQ(e.Text(), "Uncaught Vantle Exception");
    EXPECT_EQ(e.Describe(), "AssertException: x\nCaused by IndexOutOfBoundsException: y");
}

TEST(Exception, ToString2WithCauses) {
    AssertException e("x");
    EXPECT_EQ(e.ToString2(false), "AssertException: x");
    EXPECT_EQ(e.ToString2(true), "AssertException: x");
    e.Cause2(std::make_exception_ptr(IndexOutOfBoundsException("y")));
    EXPECT_EQ(e.ToString2(false), "AssertException: x");
    EXPECT_EQ(e.ToString2(true), "AssertException: x\nCaused by IndexOutOfBoundsException: y");
    ASSERT_NE(e.BriskCause(), nullptr);
    EXPECT_EQ(e.BriskCause()->Message(), "y");
    e.Message2("z");
    EXPECT_EQ(e.Message(), "z");

    // Twelve causes print ten lines.
    BriskException top("top", Chain(12));
    std::string text = top.ToString2(true);
    EXPECT_EQ(CountLines(text, "\nCaused by "), 10);
    EXPECT_NE(text.find("Caused by AssertException: m10"), std::string::npos);
    EXPECT_EQ(text.find("m11"), std::string::npos);

    // A foreign cause ends the chain with one fixed line.
    BriskException foreign("f", std::make_exception_ptr(platform::RuntimeError("boom")));
    EXPECT_EQ(foreign.ToString2(true), "BriskException: f\nCaused by a non-Brisk exception.");
    EXPECT_EQ(foreign.BriskCause(), nullptr);
    AssertException mid("mid", std::make_exception_ptr(platform::RuntimeError("boom")));
    BriskException outer("o", std::make_exception_ptr(mid));
    EXPECT_EQ(outer.ToString2(true),
              "BriskException: o\nCaused by AssertException: mid\nCaused by a non-Brisk exception.");
}

TEST(Exception, SelfCauseStoresNull) {
    try {
        throw FormatException("self");
    } catch (BriskException& e) {
        e.Cause2(std::current_exception());
        EXPECT_FALSE(e.Cause());
        EXPECT_EQ(e.ToString2(true), "FormatException: self");
    }
    // A rethrown cause stays reachable after the handler that caught it is gone.
    std::exception_ptr held;
    try {
        try {
            throw platform::RuntimeError("inner");
        } catch (...) {
            throw XMLParseException("outer", std::current_exception());
        }
    } catch (const XMLParseException& e) {
        held = e.Cause();
    }
    EXPECT_THROW(std::rethrow_exception(held), platform::RuntimeError);
}

TEST(Helpers, Assertions) {
    try {
        AssertNotEqualInt(0, 0, "M");
        FAIL();
    } catch (const AssertException& e) {
        EXPECT_EQ(e.Message(), "M 0=0");
        EXPECT_FALSE(e.Cause());
    }
    EXPECT_NO_THROW(AssertNotEqualInt(-3, 4, "M"));
    try {
        AssertNotEqualInt(-7, -7, "v");
        FAIL();
    } catch (const AssertException& e) {
        EXPECT_EQ(e.Message(), "v -7=-7");
    }
    EXPECT_THROW(RequireTrue(false, "t"), AssertException);
    EXPECT_NO_THROW(RequireTrue(true, "t"));
    int x = 0;
    EXPECT_NO_THROW(RequireNotNull(&x, "n"));
    int* none = nullptr;
    try {
        RequireNotNull(none, "is null");
        FAIL();
    } catch (const AssertException& e) {
        EXPECT_EQ(e.ToString2(true), "AssertException: is null");
    }
}

TEST(Helpers, Paths) {
    EXPECT_EQ(StripExtension("data.old/file"), "data.old/file");
    EXPECT_EQ(StripExtension("a/b.c"), "a/b");
    EXPECT_EQ(StripExtension("a.tar.gz"), "a.tar");
    EXPECT_EQ(StripExtension("noext"), "noext");
    EXPECT_EQ(StripDirectory("file.txt"), "file.txt");
    EXPECT_EQ(StripDirectory("a/b/file.txt"), "file.txt");
    EXPECT_EQ(StripDirectory("a/"), "");
    EXPECT_EQ(StripPathAndExtension("graphics/Logo1.png"), "Logo1");
    EXPECT_EQ(StripPathAndExtension("x.y/z"), "z");
}

TEST(Helpers, RightAlignAndFormatNumber) {
    EXPECT_EQ(RightAlign("7", 3, " "), "  7");
    EXPECT_EQ(RightAlign("12345", 3, " "), "345");
    EXPECT_EQ(RightAlign("5", 4, "0"), "0005");
    EXPECT_EQ(RightAlign("abc", 0, " "), "");

    EXPECT_EQ(FormatNumber(1234567.5f, 2, 3, 0), "1,234,567.50");
    EXPECT_EQ(FormatNumber(1234567.5f, 0, 3, 0), "1,234,567");
    EXPECT_EQ(FormatNumber(999.75f, 1, 3, 0), "999.7");  // cut, not rounded
    EXPECT_EQ(FormatNumber(1000.0f, 0, 0, 0), "1000");
    EXPECT_EQ(FormatNumber(12.5f, 3, 0, 0), "12.500");
    // The field is width + decimals + 1 characters, with 0 decimals counted as -1.
    EXPECT_EQ(FormatNumber(12.0f, 0, 0, 5), "   12");
    EXPECT_EQ(FormatNumber(42.25f, 2, 0, 4), "  42.25");
    EXPECT_EQ(FormatNumber(123456.0f, 0, 0, 5), "Error");
    EXPECT_EQ(FormatNumber(123456.0f, 1, 0, 5), "  Error");
    EXPECT_EQ(FormatNumber(123456.0f, 0, 0, 3), "ror");  // "Error" itself is aligned into the field
    // The sign is not a digit: no separator right after it.
    EXPECT_EQ(FormatNumber(-123456.0f, 0, 3, 0), "-123,456");
    EXPECT_EQ(FormatNumber(-1234.0f, 0, 3, 0), "-1,234");
    EXPECT_EQ(FormatNumber(-123.0f, 0, 3, 0), "-123");
    // Values whose float text needs an exponent still come out as digits.
    EXPECT_EQ(FormatNumber(1e10f, 0, 3, 0), "10,000,000,000");
    EXPECT_EQ(FormatNumber(-2.5e9f, 1, 0, 0), "-2500000000.0");
    EXPECT_EQ(FormatNumber(0.00001f, 5, 0, 0), "0.00000");  // cut, not rounded: 0.0000099999...
    try {
        FormatNumber(1.0f, -1, 0, 0);
        FAIL();
    } catch (const AssertException& e) {
        EXPECT_EQ(e.Message(), "Negative numbers not allowed in FormatNumber()");
    }
    EXPECT_THROW(FormatNumber(1.0f, 0, -1, 0), AssertException);
    EXPECT_THROW(FormatNumber(1.0f, 0, 0, -1), AssertException);
}
