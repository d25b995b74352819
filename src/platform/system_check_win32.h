#pragma once
// The start-up check for a Windows too old to run Lumenor.

namespace lumenor::platform {

// True when the process runs with the UTF-8 code page that the manifest asks for, which Windows
// honours from Windows 10 version 1903 (and Wine does). Otherwise every -A call would garble the
// Chinese texts, so this tells the user in a message box of UTF-16 text and returns false.
bool ConfirmSupportedWindows();

}  // namespace lumenor::platform
