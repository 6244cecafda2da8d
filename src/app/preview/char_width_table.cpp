#include "app/preview/char_width_table.h"

namespace penmoji {

void CharWidthTable::FillFromFont(const QFont&) { filled_ = true; }

std::int32_t CharWidthTable::WidthOf(std::int32_t) const { return 0; }

}  // namespace penmoji
