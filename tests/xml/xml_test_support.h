// XML layer test helpers: COM on the test thread (as the module's cores set it up), what a
// failing call raised, documents from text.
#pragma once

#include "xml/nv_xml_document.h"

#include <gtest/gtest.h>
#include <string>

struct ComEnvironment : ::testing::Environment {
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};
inline const auto* const kComEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

struct RaisedError {
    bool fromLayer = false; // the layer's own exception rather than a plain COM error
    HRESULT hr = S_OK;
    std::string description;
    bool parse = false; // raised as the content's fault (NvXmlParseError)
};

template <class Action> RaisedError CatchRaised(Action&& action)
{
    try {
        action();
    } catch (const NvXmlClass::NvXmlParseError& error) {
        return {true, error.Error(), error.Description(), true};
    } catch (const NvXmlClass::NvXmlException& error) {
        return {true, error.Error(), error.Description()};
    } catch (const nv::ComError& error) {
        return {false, error.Error(), error.Description()};
    }
    return {};
}
inline CNvXmlDocument DocumentFromText(const std::string& text)
{
    CNvXmlDocument document;
    document.LoadXml(text);
    return document;
}
