// Walks two sorted maps side by side: what only the first holds, what only the second holds, and
// what both hold under one key.
#pragma once

namespace vesk::trial {

template <class Map, class OnlyBefore, class OnlyAfter, class InBoth>
void MergeSorted(const Map& before, const Map& after, OnlyBefore onlyBefore, OnlyAfter onlyAfter,
                 InBoth inBoth) {
    auto old = before.begin();
    auto now = after.begin();
    while (old != before.end() || now != after.end()) {
        if (now == after.end() || (old != before.end() && old->first < now->first)) {
            onlyBefore(old->first, old->second);
            ++old;
        } else if (old == before.end() || now->first < old->first) {
            onlyAfter(now->first, now->second);
            ++now;
        } else {
            inBoth(now->first, old->second, now->second);
            ++old;
            ++now;
        }
    }
}

}  // namespace vesk::trial
