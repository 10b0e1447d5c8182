#include "pitch/Alignment.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lurvo::pitch {

namespace {

float distance(const std::vector<float>& x, const std::vector<float>& y) {
    float sum = 0;
    for (std::size_t i = 0; i < std::min(x.size(), y.size()); ++i)
        sum += (x[i] - y[i]) * (x[i] - y[i]);
    return std::sqrt(sum);
}

} // namespace

std::vector<WarpStep> warpPath(const std::vector<std::vector<float>>& a, FrameSpan aSpan,
                               const std::vector<std::vector<float>>& b, FrameSpan bSpan,
                               int band) {
    const int n = aSpan.last - aSpan.first + 1;
    const int m = bSpan.last - bSpan.first + 1;
    if (n <= 0 || m <= 0 || aSpan.first < 0 || bSpan.first < 0 || aSpan.last >= int(a.size()) ||
        bSpan.last >= int(b.size()))
        return {};
    // Each row keeps only its band of columns, so a long sentence costs length times band.
    const int width = std::max(band, 1);
    const int stride = 2 * width + 1;
    const auto low = [&](int i) {
        const double centre = n == 1 ? 0.0 : double(i) * (m - 1) / (n - 1);
        return std::clamp(int(std::lround(centre)) - width, 0, m - 1);
    };
    const auto high = [&](int i) {
        const double centre = n == 1 ? 0.0 : double(i) * (m - 1) / (n - 1);
        return std::clamp(int(std::lround(centre)) + width, 0, m - 1);
    };
    constexpr float kNone = std::numeric_limits<float>::infinity();
    std::vector<float> cost(std::size_t(n) * stride, kNone);
    const auto at = [&](int i, int j) -> float {
        if (i < 0 || j < 0 || j < low(i) || j > high(i))
            return kNone;
        return cost[std::size_t(i) * stride + std::size_t(j - low(i))];
    };
    for (int i = 0; i < n; ++i)
        for (int j = low(i); j <= high(i); ++j) {
            const float here = distance(a[aSpan.first + i], b[bSpan.first + j]);
            float before = 0;
            if (i > 0 || j > 0)
                before = std::min({at(i - 1, j - 1), at(i - 1, j), at(i, j - 1)});
            cost[std::size_t(i) * stride + std::size_t(j - low(i))] = here + before;
        }

    std::vector<WarpStep> path;
    int i = n - 1, j = m - 1;
    if (!std::isfinite(at(i, j)))
        return {};
    while (true) {
        path.push_back({aSpan.first + i, bSpan.first + j});
        if (i == 0 && j == 0)
            break;
        const float diagonal = at(i - 1, j - 1), up = at(i - 1, j), left = at(i, j - 1);
        if (diagonal <= up && diagonal <= left) {
            --i;
            --j;
        } else if (up <= left) {
            --i;
        } else {
            --j;
        }
    }
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace lurvo::pitch
