// SPDX-License-Identifier: MIT
#pragma once

#include <streambuf>

namespace penmoji {

// A stream buffer without a buffer of its own: every byte, single ones included, reaches
// xsputn, where a filter sees it in order and passes it on.
class UnbufferedFilter : public std::streambuf {
protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }
};

}  // namespace penmoji
