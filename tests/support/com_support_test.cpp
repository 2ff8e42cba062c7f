// The COM text and error types under the real OLE Automation functions.
#include "support/bstr_text.h"
#include "support/com_error.h"
#include "support/com_ptr.h"

#include <gtest/gtest.h>

namespace {

TEST(BstrText, ConvertsThroughTheSystemCodePage)
{
    // "Gr\xFC\xDF" is "Grüß" in code page 1252.
    nv::BstrText text("Gr\xFC\xDF");
    ASSERT_EQ(4u, text.Length());
    EXPECT_EQ(L'\x00FC', text.Get()[2]);
    EXPECT_EQ(L'\x00DF', text.Get()[3]);
    EXPECT_STREQ("Gr\xFC\xDF", text.Ansi());
}

TEST(BstrText, NullStaysNullAndEmptyStaysEmpty)
{
    nv::BstrText null(static_cast<const char*>(nullptr));
    EXPECT_TRUE(null.IsNull());
    EXPECT_EQ(nullptr, null.Ansi());
    EXPECT_EQ(nullptr, null.Copy());
    BSTR empty = nv::AnsiToBstr("");
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, SysStringLen(empty));
    SysFreeString(empty);
}

TEST(BstrText, CopiesShareOneBstrAndCopyMakesANewOne)
{
    nv::BstrText a("abc");
    nv::BstrText b = a;
    EXPECT_EQ(a.Get(), b.Get());
    BSTR copy = a.Copy();
    EXPECT_NE(a.Get(), copy);
    EXPECT_EQ(std::wstring(L"abc"), std::wstring(copy));
    SysFreeString(copy);
}

TEST(BstrText, SingleByteFormEndsAtAnEmbeddedZero)
{
    BSTR raw = SysAllocStringLen(L"ab\0cd", 5);
    EXPECT_EQ("ab", nv::BstrToAnsi(raw));
    SysFreeString(raw);
}

struct MessageCase {
    HRESULT hr;
    const char* expected;
};

TEST(ComError, MessageForCodesWithoutSystemText)
{
    const MessageCase cases[] = {
        {HRESULT(0x80040201), "IDispatch error #1"},
        {HRESULT(0x8004FFFF), "IDispatch error #65023"},
        {HRESULT(0x8004EEEE), "IDispatch error #60654"},
        {HRESULT(0xA0001234), "Unknown error 0xA0001234"},
    };
    for (const MessageCase& c : cases)
        EXPECT_EQ(c.expected, nv::ComError(c.hr).ErrorMessage()) << std::hex << c.hr;
}

TEST(ComError, SystemMessageLosesItsTrailingLineBreak)
{
    std::string message = nv::ComError(E_OUTOFMEMORY).ErrorMessage();
    ASSERT_FALSE(message.empty());
    EXPECT_NE('\n', message.back());
    EXPECT_NE('\r', message.back());
}

TEST(ComError, DescriptionComesFromTheErrorInfo)
{
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(S_OK, CreateErrorInfo(&create));
    BSTR description = nv::AnsiToBstr("Fehler f\xFCr Test");
    create->SetDescription(description);
    SysFreeString(description);
    IErrorInfo* info = nullptr;
    ASSERT_EQ(S_OK, create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)));
    create->Release();

    nv::ComError error(E_FAIL, info);
    info->Release();
    nv::ComError copy = error;
    EXPECT_EQ(E_FAIL, copy.Error());
    EXPECT_EQ("Fehler f\xFCr Test", copy.Description());
    EXPECT_EQ("", nv::ComError(E_FAIL).Description());
}

TEST(ComPtr, QueryForAMissingInterfaceGivesNull)
{
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(S_OK, CreateErrorInfo(&create));
    nv::ComPtr<ICreateErrorInfo> holder;
    holder.Attach(create);
    nv::ComPtr<IErrorInfo> info(holder, IID_IErrorInfo);
    EXPECT_TRUE(info);
    nv::ComPtr<IDispatch> dispatch(holder, IID_IDispatch);
    EXPECT_FALSE(dispatch);
    EXPECT_THROW(dispatch->GetTypeInfoCount(nullptr), nv::ComError);
}

} // namespace
