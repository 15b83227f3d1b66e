// The descriptions of the bundled example templates, each written by the template builder:
// 添書票 (every property the letter writer sets), 送付状 (a business cover letter),
// 長形3号 (an envelope in vertical writing) and 宛名ラベル (an A4 sheet of twelve labels).
#pragma once

#include <optional>
#include <string>

#include "templatebuilder/TemplateBuilder.h"

namespace sendnote::examples {

// The description whose template is named `stem` (a file name without its extension), or
// none for a name that is no example's.
std::optional<docx::TemplateDescription> ExampleTemplate(const std::u16string& stem);

}  // namespace sendnote::examples
