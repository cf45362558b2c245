#pragma once

#include <string>

#include "device/scaled_value_text.h"

class QLineEdit;

// The setpoints page's value fields: four positions under the mask of a
// decimal-point code, or unmasked for what four positions cannot hold.

// The field's characters, its point included, an empty position read as a blank.
std::string ValueFieldCharacters(const QLineEdit& field);

void ShowValueField(QLineEdit& field, const device::ValueFieldText& text);
