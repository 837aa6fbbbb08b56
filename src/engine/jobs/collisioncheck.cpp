#include "engine/jobs/collisioncheck.h"

#include "engine/jobs/namecheck.h"

#include <algorithm>
#include <numeric>

std::vector<int> CollidingPositions(const std::vector<QString> &paths)
{
    // Sorting exactly puts equal paths next to each other, whatever case
    // variants of them the list also holds.
    std::vector<int> order(paths.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&paths](int a, int b) { return paths[a] < paths[b]; });

    std::vector<int> colliding;
    for (std::size_t at = 0; at < order.size();) {
        std::size_t end = at + 1;
        while (end < order.size() && paths[order[end]] == paths[order[at]])
            ++end;
        if (end - at > 1) {
            for (std::size_t member = at; member < end; ++member)
                colliding.push_back(order[member] + 1);
        }
        at = end;
    }
    std::sort(colliding.begin(), colliding.end());
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
