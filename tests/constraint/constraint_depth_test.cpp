// Trees deeper than the parser takes, grown through the DOM: the depth bound,
// and which children an operator evaluates at all.
#include "constraint/constraint_evaluator.h"
#include "xml/nv_xml_document.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

namespace {

// The root of `xml` with `count` nested `name` elements around `<true/>`
// grown below the element marked `grow`.
CNvXmlNode Grown(const std::string& xml, const char* name, int count)
{
    CoInitialize(nullptr);
    CNvXmlDocument document;
    document.LoadXml(xml);
    CNvXmlNode node = document.SelectSingleNode("//*[@grow]");
    for (int level = 0; level < count; ++level)
        node = node.AddChild(name, nullptr);
    node.AddChild("true", nullptr);
    return document.SelectSingleNode(".");
}

// A child beyond the depth bound fails the whole evaluation once it is
// evaluated, so it shows which children an operator looks at.
TEST(ConstraintLanguage, DepthBoundAndTheChildrenEachOperatorEvaluates)
{
    const int bound = kMaxConstraintDepth;
    const struct { const char *name, *xml, *grown; int count; bool expected; } rows[] = {
        {"and at the bound", "<and grow=''/>", "and", bound - 2, true},
        {"and one beyond", "<and grow=''/>", "and", bound - 1, false},
        {"even not chain at the bound", "<not grow=''/>", "not", bound - 3, true},
        {"even not chain beyond", "<not grow=''/>", "not", bound + 43, false},
        {"odd not chain beyond", "<not grow=''/>", "not", bound + 44, false},
        {"thousands of or", "<or grow=''/>", "or", 20000, false},
        {"deep child alone fails", "<not><if><and grow=''/></if></not>", "and", bound, false},
        {"and stops at false", "<not><and><false/><and grow=''/></and></not>", "and", bound, true},
        {"or stops at true", "<or><true/><and grow=''/></or>", "and", bound, true},
        {"if ignores later children", "<if><true/><and grow=''/></if>", "and", bound, true},
        {"not ignores later children", "<not><false/><and grow=''/></not>", "and", bound, true},
        {"xor evaluates every child", "<not><xor><true/><and grow=''/></xor></not>", "and", bound,
         false},
        {"and goes on after true", "<not><and><true/><and grow=''/></and></not>", "and", bound,
         false},
        {"or goes on after false", "<not><or><false/><and grow=''/></or></not>", "and", bound,
         false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Evaluate(Grown(row.xml, row.grown, row.count))) << row.name;
}

} // namespace
