#include "engine/jobs/collisioncheck.h"

#include "engine/jobs/namecheck.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace {

// What follows the last "/" of a planned path: the name's own last part, so
// that equal paths have it in common.
std::u16string_view lastPart(const QString &name)
{
    const QChar *start = std::find(name.crbegin(), name.crend(), u'/').base();
    return {reinterpret_cast<const char16_t *>(start), std::size_t(name.cend() - start)};
}

}

std::vector<int> CollidingRows(const RenameRowList &rows)
{
    // Sorted by the hash of their last part, equal paths stand together among
    // the few that share it; only those paths are built and compared. Case
    // variants are other paths.
    const std::vector<RenameRow> &all = rows.rows();
    std::vector<std::pair<std::size_t, std::size_t>> order(all.size()); // hash, position
    for (std::size_t at = 0; at < all.size(); ++at)
        order[at] = {std::hash<std::u16string_view>()(lastPart(all[at].newName())), at};
    std::sort(order.begin(), order.end());
    std::vector<bool> member(all.size());
    std::vector<std::pair<QString, std::size_t>> group; // path, position
    for (std::size_t at = 0; at < order.size();) {
        std::size_t end = at + 1;
        while (end < order.size() && order[end].first == order[at].first)
            ++end;
        if (end - at > 1) {
            group.clear();
            for (std::size_t i = at; i < end; ++i) {
                const RenameRow &row = all[order[i].second];
                group.emplace_back(PlannedPath(row.folder(), row.newName()), order[i].second);
            }
            std::sort(group.begin(), group.end());
            for (std::size_t i = 1; i < group.size(); ++i) {
                if (group[i].first == group[i - 1].first)
                    member[group[i].second] = member[group[i - 1].second] = true;
            }
        }
        at = end;
    }
    std::vector<int> colliding;
    for (std::size_t at = 0; at < all.size(); ++at) {
        if (member[at])
            colliding.push_back(int(at) + 1);
    }
    return colliding;
}
