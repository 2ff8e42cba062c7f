// The constraint language end to end: texts through the CheckConstraint core,
// trees built with MSXML through Evaluate.
#include "constraint/constraint_api.h"
#include "constraint/constraint_evaluator.h"
#include "constraint/xml_root.h"

#include <gtest/gtest.h>

#include <string>

namespace {

long Check(const std::string& xml)
{
    return Norvane::News::CheckConstraint(xml.c_str());
}

struct CheckRow {
    const char* xml;
    long expected;
};

template <size_t N> void ExpectRows(const CheckRow (&rows)[N])
{
    for (const CheckRow& row : rows)
        EXPECT_EQ(row.expected, Check(row.xml)) << row.xml;
}

TEST(ConstraintLanguage, EmptyElementsAndUnknownNames)
{
    const CheckRow rows[] = {
        {"<true/>", 1},
        {"<false/>", 0},
        {"<and/>", 1},
        {"<or/>", 0},
        {"<xor/>", 0},
        {"<not/>", 0},
        {"<if/>", 0},
        {"<datacompare/>", 1},
        {"<whatever/>", 0},
        // Names are compared exactly, prefix included.
        {"<True/>", 0},
        {"<AND/>", 0},
        {"<osVersion version=\"win10\"/>", 0},
        {"<regentry/>", 0},
        {"<n:true xmlns:n=\"urn:nv\"/>", 0},
        {"<true xmlns=\"urn:nv\"/>", 1},
        {"<?xml version=\"1.0\"?><!-- lead --><true/>", 1},
    };
    ExpectRows(rows);
}

TEST(ConstraintLanguage, OperatorsCombineTheirChildElements)
{
    const CheckRow rows[] = {
        {"<xor><true/><true/><true/></xor>", 1},
        {"<xor><true/><true/></xor>", 0},
        {"<xor><false/><true/><false/></xor>", 1},
        {"<if><false/><true/></if>", 0},
        {"<if><true/><false/></if>", 1},
        {"<not><true/></not>", 0},
        {"<not><false/><false/></not>", 1},
        {"<not><true/><false/></not>", 0},
        {"<and><true/><true/></and>", 1},
        {"<and><true/><false/><true/></and>", 0},
        {"<or><false/><false/></or>", 0},
        {"<or><false/><true/></or>", 1},
        {"<or><and><true/><not><false/></not></and><false/></or>", 1},
        {"<if><xor><and/><or/></xor></if>", 1},
        // Only element children count: text, comments and instructions are skipped.
        {"<and>text<!-- c --><?pi x?><false/></and>", 0},
        {"<or>text<!-- c --><true/></or>", 1},
        {"<if>just text</if>", 0},
        {"<not><!-- only a comment --></not>", 0},
        // Leaves ignore what they contain.
        {"<true><false/></true>", 1},
        {"<false><true/></false>", 0},
        {"<datacompare a=\"1\" b=\"2\"><false/></datacompare>", 1},
        {"<and><unknown><true/></unknown></and>", 0},
    };
    ExpectRows(rows);
}

// Appends `count` nested elements named `name` below `node`, the innermost
// holding `<true/>`; built through the DOM, as the parser refuses such depths.
void Grow(CNvXmlNode node, const char* name, int count)
{
    for (int level = 0; level < count; ++level)
        node = node.AddChild(name, nullptr);
    node.AddChild("true", nullptr);
}

// `count` nested elements named `name` around `<true/>`.
CNvXmlNode Chain(const std::string& name, int count)
{
    CNvXmlNode root = RootOf("<" + name + "/>");
    Grow(root, name.c_str(), count - 1);
    return root;
}

// A child nested beyond the depth bound makes a whole evaluation fail once it
// is evaluated, so it shows which children an operator looks at. The parser
// refuses such depths, so the `<deep/>` slot of `xml` is grown through the DOM.
CNvXmlNode WithDeepSlot(std::string xml)
{
    const std::string slotMark = "<deep/>";
    xml.replace(xml.find(slotMark), slotMark.size(), "<and deep=\"\"/>");
    CNvXmlNode root = RootOf(xml);
    Grow(root.SelectSingleNode("//and[@deep]"), "and", kMaxConstraintDepth);
    return root;
}

TEST(ConstraintLanguage, AndOrStopEarlyXorEvaluatesAll)
{
    struct Row {
        const char* name;
        const char* xml;
        bool expected;
    };
    const Row rows[] = {
        {"deep child alone fails", "<not><if><deep/></if></not>", false},
        {"and stops at false", "<not><and><false/><deep/></and></not>", true},
        {"or stops at true", "<or><true/><deep/></or>", true},
        {"if ignores later children", "<if><true/><deep/></if>", true},
        {"not ignores later children", "<not><false/><deep/></not>", true},
        {"xor evaluates every child", "<not><xor><true/><deep/></xor></not>", false},
        {"and goes on after true", "<not><and><true/><deep/></and></not>", false},
        {"or goes on after false", "<not><or><false/><deep/></or></not>", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, Evaluate(WithDeepSlot(row.xml))) << row.name;
}

TEST(ConstraintLanguage, NestingBeyondTheDepthBoundDoesNotHold)
{
    struct Row {
        const char* name;
        const char* element;
        int count;
        bool expected;
    };
    const Row rows[] = {
        {"and at the bound", "and", kMaxConstraintDepth - 1, true},
        {"and one beyond", "and", kMaxConstraintDepth, false},
        {"even not chain at the bound", "not", kMaxConstraintDepth - 2, true},
        {"even not chain beyond", "not", kMaxConstraintDepth + 44, false},
        {"odd not chain beyond", "not", kMaxConstraintDepth + 45, false},
        {"thousands of or", "or", 20000, false},
        {"thousands of if", "if", 20000, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, Evaluate(Chain(row.element, row.count))) << row.name;
}

TEST(ConstraintLanguage, DeepTextsGiveAResultOrAnXmlError)
{
    for (int levels : {kMaxConstraintDepth + 1, 5000, 100000}) {
        std::string xml;
        for (int level = 0; level < levels; ++level)
            xml += "<or>";
        xml += "<true/>";
        for (int level = 0; level < levels; ++level)
            xml += "</or>";
        try {
            EXPECT_EQ(0, Check(xml)) << levels << " levels";
        } catch (const nv::ComError& error) {
            // The parser may refuse such a depth itself.
            EXPECT_EQ(0u, error.Description().find("XML ParseError:")) << levels << " levels";
        }
    }
}

} // namespace
