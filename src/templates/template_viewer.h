#pragma once

// The template viewer page: lists the template set and shows one template.

#include "session/session.h"

#include <string>

namespace kelvaro {

void ScanTemplateFolder(Session& s);
void ShowTemplate(Session& s, const std::string& fileName);

} // namespace kelvaro
