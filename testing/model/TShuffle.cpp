#include "testing/model/TShuffle.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <algorithm>
#include <memory>

TRandomSource ClockRandomSource() {
    auto generator = std::make_shared<QRandomGenerator>(quint32(QDateTime::currentMSecsSinceEpoch()));
    return [generator](int bound) { return int(generator->bounded(quint32(bound))); };
}

std::vector<int> DrawPermutation(int n, const TRandomSource& random) {
    std::vector<int> pool;
    pool.reserve(size_t(std::max(n, 0)));
    for (int k = 1; k <= n; ++k)
        pool.push_back(k);
    std::vector<int> permutation;
    permutation.reserve(pool.size());
    while (!pool.empty()) {
        int bound = int(pool.size());
        // A source answering outside its bound must not reach past the pool.
        int pick = std::clamp(random(bound), 0, bound - 1);
        permutation.push_back(pool[size_t(pick)]);
        pool.erase(pool.begin() + pick);
    }
    return permutation;
}

void ShuffleEntries(std::vector<QuestionAnswer>& entries, const TRandomSource& random) {
    std::vector<int> permutation = DrawPermutation(int(entries.size()), random);
    std::vector<QuestionAnswer> shuffled;
    shuffled.reserve(entries.size());
    for (int from : permutation)
        shuffled.push_back(std::move(entries[size_t(from - 1)]));
    entries = std::move(shuffled);
}
