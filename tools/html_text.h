// HTML text: what the command-line host's web output (the gallery page, the served stock replies'
// thumbnail tags) needs to place text inside HTML safely.
//
// Thread safety: a pure function; any thread.

#ifndef ZORVCAPSULE_TOOLS_HTML_TEXT_H_
#define ZORVCAPSULE_TOOLS_HTML_TEXT_H_

#include <string>

namespace capsuletool {

// `text` with "&", "<", ">" and '"' written as character references, fit for element content and
// double-quoted attribute values.
std::string HtmlEscaped(const std::string& text);

}  // namespace capsuletool

#endif  // ZORVCAPSULE_TOOLS_HTML_TEXT_H_
