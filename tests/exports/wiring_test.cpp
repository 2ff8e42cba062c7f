// What the export layer itself promises, whatever the core behind it answers.
#include "harness/nvinfo_module.h"
#include "nvinfo.h"

#include <gtest/gtest.h>

namespace {

TEST(Wiring, GetUpdateInfosRefusesANullCountWithoutTouchingTheOthers)
{
    auto getUpdateInfos = NvinfoModule::Proc<PFN_NV_GETUPDATEINFOS>("GetUpdateInfos");
    for (int missing = 0; missing < 3; ++missing) {
        int counts[3] = {111, 222, 333};
        int* pointers[3] = {&counts[0], &counts[1], &counts[2]};
        pointers[missing] = nullptr;
        IDispatch* document = reinterpret_cast<IDispatch*>(0x1234);
        EXPECT_EQ(-1, getUpdateInfos("qdpro", pointers[0], pointers[1], pointers[2], &document))
            << "count " << missing;
        EXPECT_EQ(111, counts[0]);
        EXPECT_EQ(222, counts[1]);
        EXPECT_EQ(333, counts[2]);
        EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1234), document);
    }
}

TEST(Wiring, MergeNdc2AlwaysStoresANonNullBstr)
{
    auto mergeNdc2 = NvinfoModule::Proc<PFN_NV_MERGENDC2>("MergeNdc2");
    BSTR message = reinterpret_cast<BSTR>(0x1234);
    int result = mergeNdc2("C:\\nvinfo-missing\\new.ndc", "C:\\nvinfo-missing\\old.ndc", &message);
    EXPECT_LT(result, 0);
    ASSERT_NE(reinterpret_cast<BSTR>(0x1234), message);
    ASSERT_NE(nullptr, message);
    EXPECT_EQ(0u, SysStringLen(message));
    SysFreeString(message);
}

TEST(Wiring, NullTextsAreEmptyTexts)
{
    auto getNewsXml = NvinfoModule::Proc<PFN_NV_GETNEWSXML>("GetNewsXml");
    EXPECT_EQ(nullptr, getNewsXml(nullptr, nullptr));
    auto getNews = NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews");
    IDispatch* document = reinterpret_cast<IDispatch*>(0x1234);
    EXPECT_EQ(E_INVALIDARG, getNews(nullptr, nullptr, &document));
    EXPECT_EQ(reinterpret_cast<IDispatch*>(0x1234), document);
    auto mergeNdc = NvinfoModule::Proc<PFN_NV_MERGENDC>("MergeNdc");
    EXPECT_LT(mergeNdc(nullptr, nullptr), 0);
}

TEST(Wiring, NullDocumentPointersAreRefusedNotWrittenThrough)
{
    auto getNewsDocument = NvinfoModule::Proc<PFN_NV_GETNEWSDOCUMENT>(NVINFO_GETNEWSDOCUMENT);
    EXPECT_EQ(E_POINTER, getNewsDocument("qdpro", "", nullptr));
    auto getNews = NvinfoModule::Proc<PFN_NV_GETNEWS>("GetNews");
    EXPECT_EQ(E_POINTER, getNews("qdpro", "", nullptr));
}

TEST(Wiring, CheckConstraintByOrdinal24AnswersAsOrdinal1)
{
    auto cdeclEntry = NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT>(NVINFO_CHECKCONSTRAINT_CPP);
    auto stdcallEntry = NvinfoModule::Proc<PFN_NV_CHECKCONSTRAINT_STD>("CheckConstraint");
    for (const char* text : {"<true/>", "<false/>", "<xor><true/><true/></xor>", "<and/>", "",
                             "<unclosed>"})
        EXPECT_EQ(cdeclEntry(text), stdcallEntry(text)) << text;
    EXPECT_EQ(1, stdcallEntry("<or><false/><true/></or>"));
}

} // namespace
