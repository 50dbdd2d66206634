#pragma once
// Fetching the channel guide and checking the saved "kovquibcg.dat".
class TextBox;

namespace kov {
bool downloadChannelGuide(TextBox* output, bool manually);
} // namespace kov
