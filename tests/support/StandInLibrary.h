#pragma once
// A recording stand-in of the property library's seven entry points. Like the library, it
// writes the given values to their own outputs (quantity i of pair code 10 i + j gets X1,
// quantity j gets X2); the other outputs and the results are set by the test. Every call is
// recorded with its arguments, and StateFromPair also records the outputs as the caller
// preset them.

#include "app/LibraryBinding.h"
#include "numerics/NumericFault.h"
#include "numerics/Vocabulary.h"

#include <array>
#include <deque>
#include <string>
#include <tuple>
#include <vector>

struct StandIn {
    struct StateCall {
        int pair;
        bool wantP, wantV;
        double x1, x2;
        bool wantS, wantI, metastable;
        std::tuple<int, double, double> args() const { return {pair, x1, x2}; }
        // The asked-for outputs by their letters, then "ms" when metastable.
        std::string wants() const {
            return std::string(wantP ? "P" : "") + (wantV ? "V" : "") + (wantS ? "S" : "") +
                   (wantI ? "I" : "") + (metastable ? "ms" : "");
        }
    };
    // A call of one of the four derived-property entry points.
    struct DerivedCall {
        std::string name;
        int pair;
        bool metastable;
        double x1, x2;
    };

    static inline std::vector<StateCall> stateCalls;
    static inline std::vector<DerivedCall> derivedCalls;
    static inline std::vector<std::string> sequence;            // every call, by name
    static inline std::vector<std::array<double, 2>> transport; // (t, v) of the transport calls
    static inline std::vector<std::array<double, 7>> presets;   // outputs as preset, t..x
    static inline std::array<double, 7> outputs{};              // t..x at 1..6
    // Outputs for the next StateFromPair calls, one each, before `outputs` takes over.
    static inline std::deque<std::array<double, 7>> answers;
    static inline int region = numerics::RegionCode::Water;
    static inline std::array<double, 7> results{}; // cp, cv, kappa, w, eta, lambda
    static inline std::string faultAt;             // this call throws

    static void reset() {
        stateCalls.clear();
        derivedCalls.clear();
        sequence.clear();
        transport.clear();
        presets.clear();
        answers.clear();
        outputs = {0, 26.85, 3, 0.00100215168, 0.392294792, 115.331273, 0};
        region = numerics::RegionCode::Water;
        results = {0, 4.17301218, 4.12, 1.33, 1507.73921, 852.1, 610.2};
        faultAt.clear();
    }

    static void note(const std::string& name) {
        sequence.push_back(name);
        if (name == faultAt) throw numerics::NumericFault(name);
    }

    static void state(int pair, bool wantP, bool wantV, double x1, double x2, bool wantS,
                      bool wantI, bool metastable, double& t, double& p, double& v, double& s,
                      double& h, double& x, int& regionCode) {
        stateCalls.push_back({pair, wantP, wantV, x1, x2, wantS, wantI, metastable});
        presets.push_back({0, t, p, v, s, h, x});
        note("StateFromPair");
        if (!answers.empty()) {
            outputs = answers.front();
            answers.pop_front();
        }
        std::array<double, 7> out = outputs;
        const int i = pair / 10, j = pair % 10;
        if (i >= 1 && i <= 6 && j >= 1 && j <= 6) {
            out[static_cast<std::size_t>(i)] = x1;
            out[static_cast<std::size_t>(j)] = x2;
        }
        t = out[1], p = out[2], v = out[3], s = out[4], h = out[5], x = out[6];
        regionCode = region;
    }

    static double derived(const char* name, std::size_t row) {
        note(name);
        return results[row];
    }

    template <std::size_t Row>
    static double derivedOfState(int pair, bool metastable, double x1, double x2) {
        static constexpr const char* names[] = {"", "cp", "cv", "kappa", "w"};
        derivedCalls.push_back({names[Row], pair, metastable, x1, x2});
        return derived(names[Row], Row);
    }

    static double transportOf(const char* name, std::size_t row, double t, double v) {
        transport.push_back({t, v});
        return derived(name, row);
    }

    static const PropertyLibrary& library() {
        static const PropertyLibrary lib{
            state,
            derivedOfState<1>,
            derivedOfState<2>,
            derivedOfState<3>,
            derivedOfState<4>,
            [](double t, double v) { return transportOf("eta", 5, t, v); },
            [](double t, double v) { return transportOf("lambda", 6, t, v); },
        };
        return lib;
    }
};
