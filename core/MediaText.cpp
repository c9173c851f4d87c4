#include "core/MediaText.h"

#include "core/WinampTitle.h"

std::string ComposeMediaText(std::string_view author, std::string_view name, LeadByteTest lead) {
    std::string text;
    text.reserve(author.size() + name.size() + 22);
    text.append(author).append("\n").append(name).append("\n").append(kMediaPlayerName);
    return CutText(text, kTitleBufferBytes - 1, lead);
}
