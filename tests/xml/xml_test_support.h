// Helpers for the XML layer tests: what a failing call raised, and documents
// loaded from text.
#pragma once

#include "xml/nv_xml_document.h"

#include <string>

struct RaisedError {
    bool raised = false;
    // Raised as the layer's own exception rather than a plain COM error.
    bool fromLayer = false;
    HRESULT hr = S_OK;
    std::string description;
};

// Runs `action` and reports what it raised, so the test asserts at its own line.
template <class Action> RaisedError CatchRaised(Action&& action)
{
    RaisedError result;
    try {
        action();
    } catch (const NvXmlClass::NvXmlException& error) {
        result = {true, true, error.Error(), error.Description()};
    } catch (const nv::ComError& error) {
        result = {true, false, error.Error(), error.Description()};
    }
    return result;
}

inline CNvXmlDocument DocumentFromText(const std::string& text)
{
    CNvXmlDocument document;
    document.LoadXml(text);
    return document;
}

inline bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}
