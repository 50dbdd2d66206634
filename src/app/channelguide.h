#pragma once
// Fetching the channel guide and checking the saved "kovquibcg.dat".
class TextBox;

bool DownloadChannelGuide(TextBox* txtMessage, bool Manually);
