// The reader of form resources: readable text of nested blocks that name components,
// their properties, events and references.
#pragma once
#include <string>

class TCustomForm;

// Reads one form resource (text) into form; used by InitForm, public for tests.
void ReadFormResource(TCustomForm *form, const std::string &text, const std::string &resourceName);
// The text of the form resource of that name in the module (raises EReadError).
std::string LoadFormResourceText(const std::string &name);
