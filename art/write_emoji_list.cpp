// Writes the emoji list of the symbol library at build time: every emoji
// the Unicode data in ICU recommends for general interchange (single
// characters first, then sequences), one per line, UTF-8.
//
//   write_emoji_list <output file>
#include <cstdio>
#include <fstream>
#include <string>

#include <unicode/uniset.h>
#include <unicode/unistr.h>
#include <unicode/usetiter.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_emoji_list <output file>\n");
        return 2;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeSet recommended(u"[:RGI_Emoji:]", status);
    if (U_FAILURE(status) || recommended.isEmpty()) {
        std::fprintf(stderr, "write_emoji_list: ICU has no recommended-emoji set (%s)\n", u_errorName(status));
        return 1;
    }
    // Single characters come first, then the sequences.
    std::string text;
    for (icu::UnicodeSetIterator it(recommended); it.next();) {
        it.getString().toUTF8String(text);
        text += '\n';
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
        std::fprintf(stderr, "write_emoji_list: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
