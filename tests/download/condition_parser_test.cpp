// The condition text's structure, without reading anything it names.
#include "download/condition_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One term as text: "!" when negated, the type letter, the four fields
// joined by "|", and "=expected" when an /S token was taken.
std::string Describe(const nv::ConditionTerm& term)
{
    std::string text = term.negated ? "!" : "";
    text += term.type;
    for (const std::string& field : term.fields)
        text += "|" + field;
    if (term.compare)
        text += "=" + term.expected;
    return text;
}

struct ParseRow {
    const char* name;
    std::string condition;
    std::vector<std::string> terms;
};

TEST(ConditionParser, SplitsTokensAsTheLanguageDefines)
{
    const std::vector<ParseRow> rows = {
        {"empty", "", {}},
        {"six characters hold unchecked", "/FXXXX", {}},
        {"seven characters are parsed", "/FXXXXX", {"F|XXXXX|||"}},
        {"upper-cased", "/fhklm\\a\\b#1.0", {"F|HKLM\\A\\B|1.0||"}},
        {"all markers", "/EA\\B;-EC\\D;_EE\\F", {"E|A\\B|||", "E|C\\D|||", "E|E\\F|||"}},
        {"negation", "!/VHKLM\\X#2#1", {"!V|HKLM\\X|2|1|"}},
        {"four fields, more ignored", "/DINI\\S\\K#A.DLL#2#1#9#9", {"D|INI\\S\\K|A.DLL|2|1"}},
        {"empty fields", "/FHKLM\\X##1.0", {"F|HKLM\\X||1.0|"}},
        {"only separators", ";;;;;;;;", {}},
        {"empty token ends the list", "/EHKLM\\A;;/EHKLM\\B", {"E|HKLM\\A|||"}},
        {"trailing separator ends the list", "/EHKLM\\A;", {"E|HKLM\\A|||"}},
        {"unknown letter skipped", "/XHKLM\\A;/EHKLM\\B", {"E|HKLM\\B|||"}},
        {"unknown marker skipped", "+EHKLM\\A;/EHKLM\\B", {"E|HKLM\\B|||"}},
        {"blank before marker skipped", " /EHKLM\\A;/EHKLM\\B", {"E|HKLM\\B|||"}},
        {"double negation skipped", "!!/EHKLM\\A;/EHKLM\\B", {"E|HKLM\\B|||"}},
        {"missing operand", "/E;/F;/R;/V;/D;!/E", {"E||||", "F||||", "R||||", "V||||", "D||||", "!E||||"}},
        {"marker alone", "/;!;-;_;!/", {}},
        {"R takes the next /S", "/RHKLM\\X\\Y;/Sabc;/EHKLM\\Z", {"R|HKLM\\X\\Y|||=ABC", "E|HKLM\\Z|||"}},
        {"R takes -S and _S", "/RA\\B;-Sx;/RC\\D;_Sy", {"R|A\\B|||=X", "R|C\\D|||=Y"}},
        {"R takes an empty /S", "/RHKLM\\X\\Y;/S", {"R|HKLM\\X\\Y|||="}},
        {"negated /S is not a comparison", "/RHKLM\\X\\Y;!/Sabc", {"R|HKLM\\X\\Y|||"}},
        {"/S after another type is skipped", "/EHKLM\\X\\Y;/Sabc", {"E|HKLM\\X\\Y|||"}},
        {"/S of the last R is consumed once", "/RA\\B;/S1;/S2", {"R|A\\B|||=1"}},
        {"umlauts stay as written", "/VHKLM\\\xE4\\x#1", {"V|HKLM\\\xE4\\X|1||"}},
    };
    for (const ParseRow& row : rows) {
        std::vector<std::string> described;
        for (const nv::ConditionTerm& term : nv::ParseCondition(row.condition))
            described.push_back(Describe(term));
        EXPECT_EQ(row.terms, described) << row.name;
    }
}

TEST(ConditionParser, VeryLongTextsAreParsedWhole)
{
    std::string condition;
    for (int i = 0; i < 5000; ++i)
        condition += "/EHKLM\\SOFTWARE\\K" + std::to_string(i) + ";";
    EXPECT_EQ(5000u, nv::ParseCondition(condition).size());
    std::string oneToken = "/VHKLM\\" + std::string(100000, 'A') + "#" + std::string(50000, '#');
    std::vector<nv::ConditionTerm> terms = nv::ParseCondition(oneToken);
    ASSERT_EQ(1u, terms.size());
    EXPECT_EQ(100005u, terms[0].fields[0].size());
    EXPECT_EQ("", terms[0].fields[3]);
}

} // namespace
