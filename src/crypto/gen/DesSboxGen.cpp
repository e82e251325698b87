// SPDX-License-Identifier: GPL-3.0-or-later
// Derives Boolean circuits for the eight DES S-boxes from their tables and
// writes them as a C++ header for the bitsliced cipher.
//
// Each S-box output bit is a function of six inputs, held here as a 64-bit
// truth table (bit x is the value for input x = b1 b2 b3 b4 b5 b6, b1 the most
// significant). Two circuit families are made:
//  - "Lut": every gate is an arbitrary function of three earlier values, one
//    ternary-logic instruction each. Complemented values cost nothing, since a
//    gate's truth table can absorb the complement of any operand.
//  - "Gate": two-input AND, OR, XOR, ANDNOT (~a & b) and NOT, for machines
//    without ternary logic.
// A circuit is grown one output at a time, reusing every value built so far;
// each value is split by the cheapest of a few decompositions (Shannon
// expansion on one input and variants of it), costed recursively. The order
// in which the four outputs are built, and a seed that breaks ties between
// equally cheap splits, change how much is shared; `--search` tries many and
// prints the best, which are recorded below so a build makes one circuit per
// box, quickly and always the same. An output may come out complemented: the cipher absorbs that
// into constants it xors in anyway, so the header records it instead of paying a NOT.
//
// Every circuit is checked against the table on all 64 inputs before it is
// written; the program fails (and so the build) if one disagrees.

#include "crypto/DesTables.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using Table = uint64_t;
constexpr Table kAll = ~Table{0};

Table Variable(int i) {
    Table t = 0;
    for (int x = 0; x < 64; ++x)
        if ((x >> (5 - i)) & 1)
            t |= Table{1} << x;
    return t;
}

const std::array<Table, 6> kVariables = {Variable(0), Variable(1), Variable(2),
                                         Variable(3), Variable(4), Variable(5)};

// The function with input i fixed to `value`, as a table over all six inputs.
Table Cofactor(Table f, int i, int value) {
    const int shift = 1 << (5 - i);
    const Table m = kVariables[i];
    if (value) {
        const Table high = f & m;
        return high | (high >> shift);
    }
    const Table low = f & ~m;
    return low | (low << shift);
}

bool DependsOn(Table f, int i) {
    return Cofactor(f, i, 0) != Cofactor(f, i, 1);
}

// Whether f is some function of a, b and c: constant on each of the eight
// classes of inputs where a, b and c are constant.
bool IsFunctionOf(Table a, Table b, Table c, Table f) {
    for (int i = 0; i < 8; ++i) {
        const Table m = ((i & 4) ? a : ~a) & ((i & 2) ? b : ~b) & ((i & 1) ? c : ~c);
        if ((f & m) != 0 && (f & m) != m)
            return false;
    }
    return true;
}

Table OutputTable(int box, int bit) {
    Table t = 0;
    for (int x = 0; x < 64; ++x) {
        const int row = ((x >> 4) & 2) | (x & 1);
        const int column = (x >> 1) & 15;
        const int value = kelvane::des::kS[box][16 * row + column];
        if ((value >> (3 - bit)) & 1)
            t |= Table{1} << x;
    }
    return t;
}

enum class Op { Input, Lut, And, Or, Xor, AndNot, Not };

struct Node {
    Op op;
    Table value;
    int a = -1, b = -1, c = -1;
    int imm = 0; // Lut only
};

struct Circuit {
    std::vector<Node> nodes;
    std::array<int, 4> outputs{};
    std::array<bool, 4> inverted{};
    int Gates() const { return static_cast<int>(nodes.size()) - 6; }
};

// The truth-table byte of a ternary gate over operands a, b, c computing f,
// or -1 if f is not a function of them. Bit (a<<2 | b<<1 | c) of the byte is
// the result for those operand values, as the ternary-logic instruction reads it.
int TernaryImmediate(Table a, Table b, Table c, Table f) {
    int imm = 0, seen = 0;
    for (int x = 0; x < 64; ++x) {
        const int index = int((a >> x) & 1) << 2 | int((b >> x) & 1) << 1 | int((c >> x) & 1);
        const int bit = int((f >> x) & 1);
        if (seen & (1 << index)) {
            if (((imm >> index) & 1) != bit)
                return -1;
        } else {
            seen |= 1 << index;
            imm |= bit << index;
        }
    }
    return imm;
}

// Breaks ties between equally cheap decompositions by a seeded coin, so that
// different seeds explore different circuits; seed 0 keeps the first found.
class TieBreaker {
public:
    explicit TieBreaker(uint32_t seed) : state_(seed) {}
    bool Better(int cost, int best) {
        if (cost != best || state_ == 0)
            return cost < best;
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ >> 7) & 1;
    }

private:
    uint32_t state_;
};

// ---------------------------------------------------------------------------
// Ternary-gate circuits

class LutBuilder {
public:
    LutBuilder(Circuit& circuit, uint32_t seed) : c_(circuit), tie_(seed) {
        for (int i = 0; i < static_cast<int>(c_.nodes.size()); ++i)
            Remember(i);
    }

    int BuildEither(Table f) { return Build(f); }

    // Returns a node equal to f or to its complement.
    int Build(Table f) {
        if (auto it = known_.find(Key(f)); it != known_.end())
            return it->second;
        memo_.clear();
        const Plan plan = Best(f);
        switch (plan.kind) {
        case Plan::Triple:
            return Add(plan.x, plan.y, plan.z, f);
        case Plan::Shannon: {
            const int v = plan.x;
            const Table f0 = Cofactor(f, v, 0), f1 = Cofactor(f, v, 1);
            const int n0 = BuildOrConstant(f0);
            const int n1 = BuildOrConstant(f1);
            return Add(v, n0, n1, f);
        }
        case Plan::ShannonDelta: {
            const int v = plan.x;
            const Table base = Cofactor(f, v, plan.y),
                        delta = Cofactor(f, v, 0) ^ Cofactor(f, v, 1);
            const int nb = BuildOrConstant(base);
            const int nd = BuildOrConstant(delta);
            return Add(v, nb, nd, f);
        }
        case Plan::TwoSelect: {
            const int g = BuildOrConstant(plan.g);
            return Add(plan.x, plan.y, g, f);
        }
        }
        return -1;
    }

private:
    struct Plan {
        enum Kind { Triple, Shannon, ShannonDelta, TwoSelect } kind = Triple;
        int cost = 1 << 20;
        int x = -1, y = -1, z = -1;
        Table g = 0;
    };

    static Table Key(Table f) { return std::min(f, ~f); }
    static bool IsConstant(Table f) { return f == 0 || f == kAll; }

    void Remember(int i) { known_.emplace(Key(c_.nodes[i].value), i); }

    // Constants need no node: a gate's truth table absorbs them. Node 0 stands in.
    int BuildOrConstant(Table f) { return IsConstant(f) ? 0 : Build(f); }

    int Add(int a, int b, int c, Table f) {
        const Table ta = c_.nodes[a].value, tb = c_.nodes[b].value, tc = c_.nodes[c].value;
        const int imm = TernaryImmediate(ta, tb, tc, f);
        if (imm < 0) {
            std::cerr << "internal error: gate cannot compute its function\n";
            std::exit(1); // NOLINT(concurrency-mt-unsafe): the generator has one thread
        }
        c_.nodes.push_back(Node{Op::Lut, f, a, b, c, imm});
        const int index = static_cast<int>(c_.nodes.size()) - 1;
        Remember(index);
        return index;
    }

    bool FindTriple(Table f, Plan& plan) const {
        const int n = static_cast<int>(c_.nodes.size());
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b)
                for (int c = b + 1; c < n; ++c)
                    if (IsFunctionOf(c_.nodes[a].value, c_.nodes[b].value, c_.nodes[c].value, f)) {
                        plan.kind = Plan::Triple;
                        plan.cost = 1;
                        plan.x = a, plan.y = b, plan.z = c;
                        return true;
                    }
        return false;
    }

    int Cost(Table f) {
        if (IsConstant(f) || known_.count(Key(f)))
            return 0;
        return Best(f).cost;
    }

    Plan Best(Table f) {
        if (auto it = memo_.find(Key(f)); it != memo_.end())
            return it->second;
        Plan best;
        if (!FindTriple(f, best)) {
            for (int v = 0; v < 6; ++v) {
                if (!DependsOn(f, v))
                    continue;
                const Table f0 = Cofactor(f, v, 0), f1 = Cofactor(f, v, 1);
                const Table delta = f0 ^ f1;
                const int c0 = Cost(f0), c1 = Cost(f1), cd = Cost(delta);
                if (tie_.Better(1 + c0 + c1, best.cost))
                    best = Plan{Plan::Shannon, 1 + c0 + c1, v};
                if (tie_.Better(1 + c0 + cd, best.cost))
                    best = Plan{Plan::ShannonDelta, 1 + c0 + cd, v, 0};
                if (tie_.Better(1 + c1 + cd, best.cost))
                    best = Plan{Plan::ShannonDelta, 1 + c1 + cd, v, 1};
                for (int w = v + 1; w < 6; ++w) {
                    if (!DependsOn(f, w))
                        continue;
                    // f = T(v, w, g) when every (v, w) cofactor is 0, 1, g or ~g.
                    Table g = 0;
                    bool found = false, ok = true;
                    for (int i = 0; i < 4 && ok; ++i) {
                        const Table q = Cofactor(Cofactor(f, v, i >> 1), w, i & 1);
                        if (IsConstant(q))
                            continue;
                        if (!found)
                            g = q, found = true;
                        else if (q != g && q != ~g)
                            ok = false;
                    }
                    if (ok && found) {
                        const int cg = Cost(g);
                        if (tie_.Better(1 + cg, best.cost)) {
                            best = Plan{Plan::TwoSelect, 1 + cg, v, w};
                            best.g = g;
                        }
                    }
                }
            }
        }
        memo_[Key(f)] = best;
        return best;
    }

    Circuit& c_;
    TieBreaker tie_;
    std::unordered_map<Table, int> known_;
    std::unordered_map<Table, Plan> memo_;
};

// ---------------------------------------------------------------------------
// Two-input gate circuits

class GateBuilder {
public:
    GateBuilder(Circuit& circuit, uint32_t seed) : c_(circuit), tie_(seed) {
        for (int i = 0; i < static_cast<int>(c_.nodes.size()); ++i)
            known_.emplace(c_.nodes[i].value, i);
    }

    // An output may come out complemented: builds whichever polarity is cheaper.
    int BuildEither(Table f) {
        if (auto it = known_.find(f); it != known_.end())
            return it->second;
        if (auto it = known_.find(~f); it != known_.end())
            return it->second;
        memo_.clear();
        const int direct = Best(f).cost, complement = Best(~f).cost;
        return Build(complement < direct ? ~f : f);
    }

    int Build(Table f) {
        if (auto it = known_.find(f); it != known_.end())
            return it->second;
        memo_.clear();
        const Plan plan = Best(f);
        const Table f0 = plan.v >= 0 ? Cofactor(f, plan.v, 0) : 0;
        const Table f1 = plan.v >= 0 ? Cofactor(f, plan.v, 1) : 0;
        switch (plan.kind) {
        case Plan::Pair:
            return Add(plan.op, plan.a, plan.b);
        case Plan::Complement:
            return Add(Op::Not, Build(~f), -1);
        case Plan::AndVar: // f0 == 0
            return Add(Op::And, plan.v, Build(f1));
        case Plan::AndNotVar: // f1 == 0
            return Add(Op::AndNot, plan.v, Build(f0));
        case Plan::OrVar: // f1 == 1
            return Add(Op::Or, plan.v, Build(f0));
        case Plan::XorVar: // f1 == ~f0
            return Add(Op::Xor, plan.v, Build(f0));
        case Plan::OrAnd: // f0 within f1: f0 | (v & f1)
        {
            const int n0 = Build(f0), n1 = Build(f1);
            return Add(Op::Or, n0, Add(Op::And, plan.v, n1));
        }
        case Plan::OrAndNot: // f1 within f0: f1 | (~v & f0)
        {
            const int n1 = Build(f1), n0 = Build(f0);
            return Add(Op::Or, n1, Add(Op::AndNot, plan.v, n0));
        }
        case Plan::XorAnd: // f0 ^ (v & (f0 ^ f1))
        {
            const int n0 = Build(f0), nd = Build(f0 ^ f1);
            return Add(Op::Xor, n0, Add(Op::And, plan.v, nd));
        }
        case Plan::XorAndNot: // f1 ^ (~v & (f0 ^ f1))
        {
            const int n1 = Build(f1), nd = Build(f0 ^ f1);
            return Add(Op::Xor, n1, Add(Op::AndNot, plan.v, nd));
        }
        case Plan::Mux: // (~v & f0) | (v & f1)
        {
            const int n0 = Build(f0), n1 = Build(f1);
            const int low = Add(Op::AndNot, plan.v, n0);
            return Add(Op::Or, low, Add(Op::And, plan.v, n1));
        }
        case Plan::XorNode: // f = n ^ g
        {
            const int g = Build(f ^ c_.nodes[plan.a].value);
            return Add(Op::Xor, plan.a, g);
        }
        }
        return -1;
    }

private:
    struct Plan {
        enum Kind {
            Pair,
            Complement,
            AndVar,
            AndNotVar,
            OrVar,
            XorVar,
            OrAnd,
            OrAndNot,
            XorAnd,
            XorAndNot,
            Mux,
            XorNode
        } kind = Pair;
        int cost = 1 << 20;
        int v = -1;
        Op op = Op::And;
        int a = -1, b = -1;
    };

    static Table Apply(Op op, Table a, Table b) {
        switch (op) {
        case Op::And:
            return a & b;
        case Op::Or:
            return a | b;
        case Op::Xor:
            return a ^ b;
        case Op::AndNot:
            return ~a & b;
        case Op::Not:
            return ~a;
        default:
            return 0;
        }
    }

    int Add(Op op, int a, int b) {
        const Table value = Apply(op, c_.nodes[a].value, b >= 0 ? c_.nodes[b].value : Table{0});
        if (auto it = known_.find(value); it != known_.end())
            return it->second;
        c_.nodes.push_back(Node{op, value, a, b});
        const int index = static_cast<int>(c_.nodes.size()) - 1;
        known_.emplace(value, index);
        return index;
    }

    bool FindPair(Table f, Plan& plan) const {
        const int n = static_cast<int>(c_.nodes.size());
        for (int a = 0; a < n; ++a) {
            const Table ta = c_.nodes[a].value;
            if (auto it = known_.find(f ^ ta); it != known_.end() && it->second != a) {
                plan = Plan{Plan::Pair, 1, -1, Op::Xor, a, it->second};
                return true;
            }
            const bool above = (f & ~ta) == 0, below = (ta & ~f) == 0, apart = (f & ta) == 0;
            if (!above && !below && !apart)
                continue;
            for (int b = 0; b < n; ++b) {
                const Table tb = c_.nodes[b].value;
                if (above && (ta & tb) == f) {
                    plan = Plan{Plan::Pair, 1, -1, Op::And, a, b};
                    return true;
                }
                if (below && (ta | tb) == f) {
                    plan = Plan{Plan::Pair, 1, -1, Op::Or, a, b};
                    return true;
                }
                if (apart && (~ta & tb) == f) {
                    plan = Plan{Plan::Pair, 1, -1, Op::AndNot, a, b};
                    return true;
                }
            }
        }
        return false;
    }

    int Cost(Table f, int depth) {
        if (known_.count(f))
            return 0;
        return Best(f, depth).cost;
    }

    Plan Best(Table f, int depth = 0) {
        if (auto it = memo_.find(f); it != memo_.end())
            return it->second;
        Plan best;
        if (!FindPair(f, best)) {
            if (known_.count(~f))
                best = Plan{Plan::Complement, 1};
            for (int v = 0; v < 6; ++v) {
                if (!DependsOn(f, v))
                    continue;
                const Table f0 = Cofactor(f, v, 0), f1 = Cofactor(f, v, 1);
                auto consider = [&](Plan::Kind kind, int cost) {
                    if (tie_.Better(cost, best.cost))
                        best = Plan{kind, cost, v};
                };
                if (f0 == 0) {
                    consider(Plan::AndVar, 1 + Cost(f1, depth + 1));
                    continue;
                }
                if (f1 == 0) {
                    consider(Plan::AndNotVar, 1 + Cost(f0, depth + 1));
                    continue;
                }
                if (f1 == kAll) {
                    consider(Plan::OrVar, 1 + Cost(f0, depth + 1));
                    continue;
                }
                if (f1 == ~f0) {
                    consider(Plan::XorVar, 1 + Cost(f0, depth + 1));
                    continue;
                }
                const int c0 = Cost(f0, depth + 1), c1 = Cost(f1, depth + 1);
                if ((f0 & ~f1) == 0)
                    consider(Plan::OrAnd, 2 + c0 + c1);
                if ((f1 & ~f0) == 0)
                    consider(Plan::OrAndNot, 2 + c0 + c1);
                const int cd = Cost(f0 ^ f1, depth + 1);
                consider(Plan::XorAnd, 2 + c0 + cd);
                consider(Plan::XorAndNot, 2 + c1 + cd);
                consider(Plan::Mux, 3 + c0 + c1);
            }
            // Reuse an earlier value through an xor; shallow only, it is costly to search.
            if (depth == 0) {
                for (int n = 6; n < static_cast<int>(c_.nodes.size()); ++n) {
                    const int cost = 1 + Cost(f ^ c_.nodes[n].value, depth + 1);
                    if (tie_.Better(cost, best.cost))
                        best = Plan{Plan::XorNode, cost, -1, Op::Xor, n};
                }
            }
        }
        memo_[f] = best;
        return best;
    }

    Circuit& c_;
    TieBreaker tie_;
    std::unordered_map<Table, int> known_;
    std::unordered_map<Table, Plan> memo_;
};

Circuit Inputs() {
    Circuit c;
    for (int i = 0; i < 6; ++i)
        c.nodes.push_back(Node{Op::Input, kVariables[i]});
    return c;
}

// One way of building a box: the order in which its outputs are built (a
// permutation of 0..3 by rank) and the tie-breaking seed.
struct Choice {
    int order;
    uint32_t seed;
};

template <class Builder> Circuit Synthesize(int box, Choice choice) {
    std::array<int, 4> order = {0, 1, 2, 3};
    for (int i = 0; i < choice.order; ++i)
        std::next_permutation(order.begin(), order.end());
    Circuit c = Inputs();
    Builder builder(c, choice.seed);
    for (int k : order) {
        c.outputs[k] = builder.BuildEither(OutputTable(box, k));
        c.inverted[k] = c.nodes[c.outputs[k]].value != OutputTable(box, k);
    }
    return c;
}

// Tries every output order with `seeds` seeds; returns the smallest.
template <class Builder> Choice Search(int box, uint32_t seeds) {
    Choice best{0, 0};
    int gates = Synthesize<Builder>(box, best).Gates();
    for (int order = 0; order < 24; ++order)
        for (uint32_t seed = 0; seed <= seeds; ++seed) {
            const int g = Synthesize<Builder>(box, Choice{order, seed}).Gates();
            if (g < gates)
                gates = g, best = Choice{order, seed};
        }
    return best;
}

// The choices a search (--search) found best, one per S-box. Any choice gives
// a correct circuit; these give the smallest seen.
constexpr Choice kLutChoices[8] = {{0, 0},   {0, 11},  {6, 1},  {4, 34},
                                   {22, 75}, {17, 37}, {5, 34}, {9, 15}}; // --search 100 0
constexpr Choice kGateChoices[8] = {{5, 1},  {8, 3},  {23, 0}, {22, 4},
                                    {14, 1}, {21, 1}, {20, 3}, {5, 0}}; // --search 0 4

// Recomputes every node from its operands (not from the recorded tables) and
// compares the outputs with the S-box.
bool Verify(const Circuit& c, int box) {
    std::vector<Table> v(c.nodes.size());
    for (std::size_t i = 0; i < c.nodes.size(); ++i) {
        const Node& n = c.nodes[i];
        switch (n.op) {
        case Op::Input:
            v[i] = kVariables[i];
            break;
        case Op::Lut: {
            Table r = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (!((n.imm >> bit) & 1))
                    continue;
                const Table a = (bit & 4) ? v[n.a] : ~v[n.a];
                const Table b = (bit & 2) ? v[n.b] : ~v[n.b];
                const Table cc = (bit & 1) ? v[n.c] : ~v[n.c];
                r |= a & b & cc;
            }
            v[i] = r;
            break;
        }
        case Op::And:
            v[i] = v[n.a] & v[n.b];
            break;
        case Op::Or:
            v[i] = v[n.a] | v[n.b];
            break;
        case Op::Xor:
            v[i] = v[n.a] ^ v[n.b];
            break;
        case Op::AndNot:
            v[i] = ~v[n.a] & v[n.b];
            break;
        case Op::Not:
            v[i] = ~v[n.a];
            break;
        }
    }
    for (int k = 0; k < 4; ++k) {
        const Table expected = OutputTable(box, k) ^ (c.inverted[k] ? kAll : 0);
        if (v[c.outputs[k]] != expected)
            return false;
    }
    return true;
}

std::string Name(int i) {
    return i < 6 ? "a" + std::to_string(i + 1) : "t" + std::to_string(i);
}

// The ternary-logic instruction overwrites its first operand. Where one of
// a gate's operands is not needed afterwards, put it first (and permute the
// truth table to match), so the compiler need not copy a live value.
void OrderOperandsForOverwrite(Circuit& c) {
    const int n = static_cast<int>(c.nodes.size());
    std::vector<int> lastUse(n, -1);
    for (int i = 6; i < n; ++i)
        for (int operand : {c.nodes[i].a, c.nodes[i].b, c.nodes[i].c})
            if (operand >= 0)
                lastUse[operand] = i;
    for (int output : c.outputs)
        lastUse[output] = n;
    for (int i = 6; i < n; ++i) {
        Node& node = c.nodes[i];
        if (node.op != Op::Lut)
            continue;
        int operands[3] = {node.a, node.b, node.c};
        for (int k = 0; k < 3; ++k) {
            if (lastUse[operands[k]] == i) {
                std::swap(operands[0], operands[k]);
                break;
            }
        }
        node.a = operands[0], node.b = operands[1], node.c = operands[2];
        node.imm = TernaryImmediate(c.nodes[node.a].value, c.nodes[node.b].value,
                                    c.nodes[node.c].value, node.value);
    }
}

void Emit(std::ostream& out, const Circuit& c, const char* family, int box) {
    out << "template <class Ops, class V>\n"
        << "inline void " << family << "S" << box + 1
        << "(const V& a1, const V& a2, const V& a3, const V& a4, const V& a5, const V& a6, V& o1, "
           "V& o2, V& o3, V& o4) {\n";
    for (std::size_t i = 6; i < c.nodes.size(); ++i) {
        const Node& n = c.nodes[i];
        out << "    const V " << Name(static_cast<int>(i)) << " = ";
        char imm[8];
        switch (n.op) {
        case Op::Lut:
            static_cast<void>(std::snprintf(imm, sizeof imm, "0x%02X", n.imm));
            out << "Ops::template Ternary<" << imm << ">(" << Name(n.a) << ", " << Name(n.b) << ", "
                << Name(n.c) << ")";
            break;
        case Op::And:
            out << "Ops::And(" << Name(n.a) << ", " << Name(n.b) << ")";
            break;
        case Op::Or:
            out << "Ops::Or(" << Name(n.a) << ", " << Name(n.b) << ")";
            break;
        case Op::Xor:
            out << "Ops::Xor(" << Name(n.a) << ", " << Name(n.b) << ")";
            break;
        case Op::AndNot:
            out << "Ops::AndNot(" << Name(n.a) << ", " << Name(n.b) << ")";
            break;
        case Op::Not:
            out << "Ops::Not(" << Name(n.a) << ")";
            break;
        case Op::Input:
            break;
        }
        out << ";\n";
    }
    for (int k = 0; k < 4; ++k)
        out << "    o" << k + 1 << " = " << Name(c.outputs[k]) << ";\n";
    out << "}\n\n";
}

void EmitFamily(std::ostream& out, const std::vector<Circuit>& circuits, const char* family) {
    out << "// " << family << " circuits: gates per S-box";
    int total = 0;
    for (const Circuit& c : circuits) {
        out << " " << c.Gates();
        total += c.Gates();
    }
    out << " (" << total << " in all).\n";
    out << "inline constexpr int k" << family << "Gates[8] = {";
    for (std::size_t i = 0; i < circuits.size(); ++i)
        out << (i ? ", " : "") << circuits[i].Gates();
    out << "};\n";
    out << "// Outputs that come out complemented, per S-box, output 1 (most significant) first.\n";
    out << "inline constexpr bool k" << family << "Inverted[8][4] = {";
    for (std::size_t i = 0; i < circuits.size(); ++i) {
        out << (i ? ", " : "") << "{";
        for (int k = 0; k < 4; ++k)
            out << (k ? ", " : "") << (circuits[i].inverted[k] ? "true" : "false");
        out << "}";
    }
    out << "};\n\n";
    for (std::size_t i = 0; i < circuits.size(); ++i)
        Emit(out, circuits[i], family, static_cast<int>(i));
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--search") {
        for (int family = 0; family < 2; ++family) {
            const uint32_t seeds = static_cast<uint32_t>(std::stoul(argv[2 + family]));
            std::cout << (family == 0 ? "kLutChoices" : "kGateChoices") << " = {";
            for (int box = 0; box < 8; ++box) {
                const Choice c =
                    family == 0 ? Search<LutBuilder>(box, seeds) : Search<GateBuilder>(box, seeds);
                const int gates = family == 0 ? Synthesize<LutBuilder>(box, c).Gates()
                                              : Synthesize<GateBuilder>(box, c).Gates();
                std::cout << (box ? ", " : "") << "{" << c.order << ", " << c.seed << "}"
                          << " /*" << gates << "*/";
                std::cout.flush();
            }
            std::cout << "};\n";
        }
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " OUTPUT.h | --search LUT-SEEDS GATE-SEEDS\n";
        return 2;
    }
    std::vector<Circuit> lut, gate;
    for (int box = 0; box < 8; ++box) {
        lut.push_back(Synthesize<LutBuilder>(box, kLutChoices[box]));
        OrderOperandsForOverwrite(lut.back());
        gate.push_back(Synthesize<GateBuilder>(box, kGateChoices[box]));
        if (!Verify(lut.back(), box) || !Verify(gate.back(), box)) {
            std::cerr << "S" << box + 1 << ": circuit disagrees with the table\n";
            return 1;
        }
    }
    std::ostringstream out;
    out << "// Generated by kelvane_des_sbox_gen from the DES S-box tables. Do not edit.\n"
        << "// Inputs a1..a6 are an S-box's six input bits b1..b6; outputs o1..o4 its\n"
        << "// four output bits, most significant first (complemented where the\n"
        << "// k...Inverted table says so).\n"
        << "#pragma once\n\n"
        << "namespace kelvane::bitslice {\nnamespace {\n\n";
    EmitFamily(out, lut, "Lut");
    EmitFamily(out, gate, "Gate");
    out << "} // namespace\n} // namespace kelvane::bitslice\n";
    std::ofstream file(argv[1], std::ios::binary);
    file << out.str();
    if (!file) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
