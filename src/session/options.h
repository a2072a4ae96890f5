#pragma once

// The options page's settings that live in the session rather than in the form:
// the emphasis option and the font of the three large text boxes.

#include "session/session.h"

namespace kelvaro {

// Emphasis option back to "強調表示", then DefaultFont.
void DefaultTopicsOption(Session& s);
// "ＭＳ ゴシック" 9 pt, no effects, black, for the preview, long-text and viewer boxes.
void DefaultFont(Session& s);

} // namespace kelvaro
