// The recent-file list and its menu items.
#include "core/recentfiles.h"

#include <algorithm>

#include "core/objects.h"
#include "platform/gui.h"
#include "platform/text.h"

namespace {

constexpr int RecentItemLength = 65;

}  // namespace

void AddRecentFile(State& s, const std::string& path)
{
    auto& list = s.RecentFiles;
    list.insert(list.begin(), path);
    list.erase(std::remove(list.begin() + 1, list.end(), path), list.end());
    ShowRecentFiles(s);
}

void ShowRecentFiles(const State& s)
{
    const int count = std::min<int>(int(s.RecentFiles.size()), obj::RecentItems);
    for (int i = 0; i < count; ++i)
        platform::SetMenuItemText(obj::MainMenuBar, obj::FirstRecentItem + i,
                                  platform::Right(s.RecentFiles[size_t(i)], RecentItemLength));
}
