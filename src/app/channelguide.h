#pragma once
// Part 3.2: fetching the channel guide and checking the saved "kovquibcg.dat".
class TextBox;

bool DownloadChannelGuide(TextBox* txtMessage, bool Manually);
