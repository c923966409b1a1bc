// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The order in which the streaming thread feeds its rings on each turn: rings whose file is not
// open yet (just-started sounds) first, in the order they came, then the emptiest ring first.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ozv::audio {

/// Orders `jobs` (each with a `decoder` that is empty until its file is open and a `readable`
/// field) for feeding. `measure(job)` tells how many frames the job's ring holds; it is asked
/// once per job and pass, because the audio callback drains the rings while they are ordered:
/// compared live, a ring drained between two comparisons would contradict an earlier one and
/// take the sort past the ends of the list.
template <class Job, class Measure> void orderForFeeding(std::vector<Job>& jobs, Measure measure)
{
    for (Job& job : jobs)
        job.readable = measure(job);
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) {
        if (!a.decoder != !b.decoder) return !a.decoder;
        return a.readable < b.readable;
    });
}

} // namespace ozv::audio
