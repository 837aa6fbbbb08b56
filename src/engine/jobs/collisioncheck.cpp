#include "engine/jobs/collisioncheck.h"

#include "engine/jobs/namecheck.h"

#include <QHashFunctions>

#include <algorithm>

std::vector<int> CollidingPositions(const std::vector<QString> &paths)
{
    // Sorted by hash, equal paths stand together among the few that share
    // their hash; case variants are other paths.
    std::vector<std::pair<std::size_t, std::size_t>> order(paths.size()); // hash, position
    for (std::size_t at = 0; at < paths.size(); ++at)
        order[at] = {qHash(paths[at]), at};
    std::sort(order.begin(), order.end());
    const auto pathOf = [&paths](const std::pair<std::size_t, std::size_t> &entry) -> const QString & {
        return paths[entry.second];
    };
    std::vector<bool> member(paths.size());
    for (std::size_t at = 0; at < order.size();) {
        std::size_t end = at + 1;
        while (end < order.size() && order[end].first == order[at].first)
            ++end;
        if (end - at > 1) {
            std::sort(order.begin() + at, order.begin() + end,
                      [&pathOf](const auto &a, const auto &b) { return pathOf(a) < pathOf(b); });
            for (std::size_t i = at + 1; i < end; ++i) {
                if (pathOf(order[i]) == pathOf(order[i - 1]))
                    member[order[i].second] = member[order[i - 1].second] = true;
            }
        }
        at = end;
    }
    std::vector<int> colliding;
    for (std::size_t at = 0; at < paths.size(); ++at) {
        if (member[at])
            colliding.push_back(int(at) + 1);
    }
    return colliding;
}

std::vector<int> CollidingRows(const RenameRowList &rows)
{
    std::vector<QString> paths;
    paths.reserve(rows.rows().size());
    for (const RenameRow &row : rows.rows())
        paths.push_back(PlannedPath(row[RenameField::Folder], row[RenameField::NewName]));
    return CollidingPositions(paths);
}
