// Help access: the help file beside the add-in, shown by the platform's help viewer.
#pragma once

namespace sendnote {

inline constexpr char16_t kHelpFileName[] = u"sendnote.chm";

// Opens the help file at its default topic, or tells the user that it is missing
// ("ヘルプが見つかりません。"). Touches no state of the command.
void OpenHelpFile();

}  // namespace sendnote
