#!/usr/bin/python3
"""Writes crypt/DesCircuits.inc: the eight DES S-boxes of FIPS 46 as Boolean circuits for the
bitsliced kernels, and the wiring of a round (E, P, the initial and final permutations) as
index tables.

Each output bit of an S-box is a tree of multiplexers over some of the six inputs, whose leaves
are functions of the remaining inputs. Every node is identified by its truth table, so a
function met twice (within one output or across the four) is computed once. Two circuits are
written per S-box:
  - basic: AND, OR, XOR, AND-NOT, NOT; leaves are single inputs or their complements;
  - ternary: any function of three inputs in one instruction; leaves over three inputs.
For each S-box and each flavour the order of the inputs is the one of all 720 that gives the
fewest operations.

Usage: scripts/gen_des_circuits.py > crypt/DesCircuits.inc"""
import itertools

SBOXES = [
    [14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7, 0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8,
     4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0, 15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13],
    [15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10, 3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5,
     0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15, 13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9],
    [10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8, 13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1,
     13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7, 1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12],
    [7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15, 13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9,
     10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4, 3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14],
    [2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9, 14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6,
     4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14, 11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3],
    [12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11, 10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8,
     9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6, 4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13],
    [4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1, 13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6,
     1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2, 6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12],
    [13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7, 1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2,
     7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8, 2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11],
]
E = [32, 1, 2, 3, 4, 5, 4, 5, 6, 7, 8, 9, 8, 9, 10, 11, 12, 13, 12, 13, 14, 15, 16, 17,
     16, 17, 18, 19, 20, 21, 20, 21, 22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1]
P = [16, 7, 20, 21, 29, 12, 28, 17, 1, 15, 23, 26, 5, 18, 31, 10,
     2, 8, 24, 14, 32, 27, 3, 9, 19, 13, 30, 6, 22, 11, 4, 25]
IP = [58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4, 62, 54, 46, 38, 30, 22, 14, 6,
      64, 56, 48, 40, 32, 24, 16, 8, 57, 49, 41, 33, 25, 17, 9, 1, 59, 51, 43, 35, 27, 19, 11, 3,
      61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7]
FP = [IP.index(i) + 1 for i in range(1, 65)]

ALL = (1 << 64) - 1


def var_mask(v):
    """Truth table of input v (0 = the S-box's first input bit, its most significant)."""
    return sum(1 << x for x in range(64) if (x >> (5 - v)) & 1)


VARS = [var_mask(v) for v in range(6)]


def cofactors(f, v):
    m, d = VARS[v], 1 << (5 - v)
    lo, hi = f & ~m & ALL, f & m
    return lo | (lo << d), hi | (hi >> d)


def depends(f, v):
    lo, hi = cofactors(f, v)
    return lo != hi


def output_table(box, bit):
    t = 0
    for x in range(64):
        row = ((x >> 4) & 2) | (x & 1)
        col = (x >> 1) & 15
        if (SBOXES[box][16 * row + col] >> (3 - bit)) & 1:
            t |= 1 << x
    return t


def ternary_imm(f, a, b, c):
    """The immediate of a three-input instruction on the nodes a, b, c that gives f, or None."""
    imm = 0
    for idx in range(8):
        sel = [a if idx & 4 else ~a & ALL, b if idx & 2 else ~b & ALL, c if idx & 1 else ~c & ALL]
        region = sel[0] & sel[1] & sel[2]
        if region == 0:
            continue
        if f & region == region:
            imm |= 1 << idx
        elif f & region:
            return None
    return imm


class Circuit:
    """Nodes by truth table. In the ternary flavour a node's complement serves as well as the
    node, since the instruction's immediate absorbs the inversion."""

    def __init__(self, ternary):
        self.ternary = ternary
        self.nodes = {VARS[v]: f"a{v}" for v in range(6)}
        self.lines = []  # (name, expression, names it reads)
        self.costs = {}

    def emit(self, tt, op, *args):
        name = f"t{len(self.lines)}"
        self.lines.append((name, f"{op}({', '.join(args)})", args))
        self.nodes[tt] = name
        return name

    def find(self, tt):
        """The truth table of an existing node that gives tt, directly or complemented."""
        if tt in self.nodes:
            return tt
        if self.ternary and (~tt & ALL) in self.nodes:
            return ~tt & ALL
        return None

    def node(self, tt):
        if tt in self.nodes:
            return self.nodes[tt]
        if tt == 0:
            return self.emit(tt, "O::Zero")
        if tt == ALL:
            return self.emit(tt, "O::Ones")
        if (~tt & ALL) in self.nodes:
            return self.emit(tt, "O::Not", self.nodes[~tt & ALL])
        raise AssertionError("a leaf that is no input")

    def ternary_node(self, f, inputs):
        bases = [self.find(x) for x in inputs]
        imm = ternary_imm(f, *bases)
        return self.emit(f, f"O::template Ternary<0x{imm:02X}>", *(self.nodes[x] for x in bases))

    def mux(self, f, s, lo, hi):
        """f = s ? hi : lo, with lo and hi already built."""
        if self.find(f) is not None:
            return
        if self.ternary:
            self.ternary_node(f, (s, lo, hi))
            return
        sn, ln, hn = self.nodes[s], self.node(lo), self.node(hi)
        if lo == 0:
            self.emit(f, "O::And", sn, hn)
        elif hi == 0:
            self.emit(f, "O::AndNot", sn, ln)
        elif hi == ALL:
            self.emit(f, "O::Or", sn, ln)
        elif hi == ~lo & ALL:
            self.emit(f, "O::Xor", sn, ln)
        elif lo == ALL:
            self.emit(f, "O::Not", self.emit(~f & ALL, "O::AndNot", hn, sn))
        else:
            diff = self.nodes.get(lo ^ hi) or self.emit(lo ^ hi, "O::Xor", ln, hn)
            self.emit(f, "O::Xor", ln, self.emit(s & (lo ^ hi), "O::And", sn, diff))

    def split_var(self, f, order, leaf_count):
        for v in order[leaf_count:]:
            if depends(f, v):
                return v
        return None

    def cost(self, f, order, leaf_count):
        """Operations to build f as a tree without sharing, and the decomposition that gives
        them: Shannon (s ? hi : lo), or for the basic flavour positive or negative Davio
        (lo ^ (s & d), hi ^ (~s & d) with d = lo ^ hi), whichever is cheaper."""
        if f in self.costs:
            return self.costs[f]
        v = self.split_var(f, order, leaf_count)
        if v is None:
            result = (0 if f in VARS or f in (0, ALL) or self.ternary else 1, "leaf")
        else:
            lo, hi = cofactors(f, v)
            c = lambda g: self.cost(g, order, leaf_count)[0]
            if self.ternary:
                result = (c(lo) + c(hi) + 1, "shannon")
            else:
                options = [(c(lo) + c(hi) + 3, "shannon"), (c(lo) + c(lo ^ hi) + 2, "positive"),
                           (c(hi) + c(lo ^ hi) + 2, "negative")]
                if lo == 0 or hi == 0 or hi == ALL or hi == ~lo & ALL:  # one operation on s
                    options.append((c(hi if lo == 0 else lo) + 1, "shannon"))
                result = min(options)
        self.costs[f] = result
        return result

    def build(self, f, order, leaf_count):
        if self.find(f) is not None:
            return
        v = self.split_var(f, order, leaf_count)
        if v is None:
            if self.ternary:
                self.ternary_node(f, [VARS[x] for x in order[:leaf_count]])
            # A basic leaf is an input, its complement or a constant, made when it is used.
            return
        lo, hi = cofactors(f, v)
        how = self.cost(f, order, leaf_count)[1]
        if how == "shannon":
            self.build(lo, order, leaf_count)
            self.build(hi, order, leaf_count)
            self.mux(f, VARS[v], lo, hi)
            return
        base = lo if how == "positive" else hi
        self.build(base, order, leaf_count)
        self.build(lo ^ hi, order, leaf_count)
        op = "O::And" if how == "positive" else "O::AndNot"
        picked = self.emit(f ^ base, op, self.nodes[VARS[v]], self.node(lo ^ hi))
        self.emit(f, "O::Xor", self.node(base), picked)

    def output(self, f):
        """The name of the node that gives f, complementing where the ternary flavour left it."""
        return self.nodes[f] if f in self.nodes else self.node(f)

    def live_lines(self, outs):
        live = set(outs)
        for name, _, args in reversed(self.lines):
            if name in live:
                live.update(args)
        return [line for line in self.lines if line[0] in live]


def synthesise(box, ternary):
    leaf_count = 3 if ternary else 1
    best = None
    tables = [output_table(box, bit) for bit in range(4)]
    for order in itertools.permutations(range(6)):
        c = Circuit(ternary)
        for f in tables:
            c.build(f, order, leaf_count)
        outs = [c.output(f) for f in tables]
        lines = c.live_lines(outs)
        if best is None or len(lines) < len(best[0]):
            best = (lines, outs)
    return best


def emit_function(box, ternary):
    lines, outs = synthesise(box, ternary)
    suffix = "Ternary" if ternary else "Basic"
    args = ", ".join(f"V a{i}" for i in range(6))
    youts = ", ".join(f"V& y{i}" for i in range(4))
    print(f"// S-box {box + 1}, {len(lines)} operations.")
    print("template <class O, class V = typename O::V>")
    print(f"inline void Sbox{box + 1}{suffix}({args}, {youts}) {{")
    for name, expr, _ in lines:
        print(f"    const V {name} = {expr};")
    for i, o in enumerate(outs):
        print(f"    y{i} = O::Xor(y{i}, {o});")
    print("}")
    print()
    return len(lines)


def key_bit(e):
    """Subkey bit e (0-based, FIPS 46 order) in the round's key pair: bits 0..5 of byte e / 12 of
    k0 for the first six of each twelve, of k1 for the other six (see crypt/KeySchedule.h)."""
    word = "k0" if e % 12 < 6 else "k1"
    return f"KeyBit<O>({word}, {8 * (e // 12) + e % 6})"


def emit_round(ternary, count):
    suffix = "Ternary" if ternary else "Basic"
    print(f"// f(R) XORed into L under one round's key pair: {count} S-box operations, 48 key XORs,")
    print("// 32 output XORs.")
    print("template <class O, class V = typename O::V>")
    print(f"inline void Round{suffix}(const V* r, V* l, DWORD k0, DWORD k1) {{")
    for box in range(8):
        ins = ", ".join(f"O::Xor(r[{E[6 * box + m] - 1}], {key_bit(6 * box + m)})" for m in range(6))
        outs = ", ".join(f"l[{P.index(4 * box + n + 1)}]" for n in range(4))
        print(f"    Sbox{box + 1}{suffix}<O>({ins},")
        print(f"        {outs});")
    print("}")
    print()


def table(name, values, comment):
    print(f"// {comment}")
    print(f"constexpr unsigned char {name}[{len(values)}] = {{{', '.join(map(str, values))}}};")
    print()


def main():
    print("// Generated by scripts/gen_des_circuits.py from the tables of FIPS 46; do not edit.")
    print("// Included inside an unnamed namespace by each bitsliced kernel, with its operations O:")
    print("// O::V a vector of bit planes, O::And, Or, Xor, Not, AndNot(a, b) = ~a & b, Zero, Ones,")
    print("// and for the ternary circuits O::Ternary<imm>(a, b, c), bit 4a + 2b + c of imm.")
    print("// O::Broadcast(mask) a vector of copies of a 64-bit mask.")
    print("// Sbox<n>(a0..a5, y0..y3): a0 is the S-box's first input bit (the row's high bit), y0 its")
    print("// output's most significant bit; the outputs are XORed into y0..y3. Bits are numbered from")
    print("// 0 (FIPS 46 bit 1) in the tables and in the halves L and R.")
    print()
    print("// A vector whose bits all equal bit n of a round-key word.")
    print("template <class O>")
    print("inline typename O::V KeyBit(DWORD word, int n) {")
    print("    return O::Broadcast(0 - std::uint64_t{(word >> n) & 1u});")
    print("}")
    print()
    table("kInitialPermutation", [i - 1 for i in IP], "IP: bit i of L0R0 is bit kInitialPermutation[i] of the input")
    table("kFinalPermutation", [i - 1 for i in FP], "IP^-1: output bit i is bit kFinalPermutation[i] of R16L16")
    for ternary in (False, True):
        counts = [emit_function(box, ternary) for box in range(8)]
        emit_round(ternary, sum(counts))


main()
