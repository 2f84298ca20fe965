#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A plain-Python model of the nozzle calculation, written from the algorithm
descriptions, step by step in the same order of floating-point operations.

Used two ways: as a cross-check of the C++ core (tests compare the report
command's JSON with this model's output) and as the speed yardstick of the
benchmarks (`model.py --sweep` times the 1000 fine-bar positions).

    model.py ME_SUP AMAX PE_PO   -> JSON like `cdnozzle-report --json`
    model.py --sweep [ME_SUP]    -> seconds per calculation over the sweep
"""
import json
import math
import sys
import time

SUB = "SesAltı"
SUP = "SesÜstü"


def read_number(text):
    i, n = 0, len(text)
    blanks = " \t\n"
    while i < n and text[i] in blanks:
        i += 1
    out = ""
    if i < n and text[i] in "+-":
        if text[i] == "-":
            out = "-"
        i += 1
    digits = False
    point = False
    while i < n:
        c = text[i]
        if c.isdigit() and c in "0123456789":
            out += c
            digits = True
        elif c == "." and not point:
            out += c
            point = True
        elif c not in blanks:
            break
        i += 1
    if not digits:
        return 0.0
    if i < n and text[i] in "EeDd":
        i += 1
        while i < n and text[i] in blanks:
            i += 1
        exp = ""
        if i < n and text[i] in "+-":
            exp += text[i]
            i += 1
        ed = ""
        while i < n:
            c = text[i]
            if c in "0123456789":
                ed += c
            elif c not in blanks:
                break
            i += 1
        if ed:
            out += "e" + exp + ed
    try:
        return float(out)
    except OverflowError:
        return math.inf


def general(v):
    if v == 0:
        return "0"
    return ("%.15g" % v).replace("e", "E")


def line(label, v):
    return label + general(round(v, 4))


class Model:
    def __init__(self, me, amax, pepo):
        self.texts = (me, amax, pepo)
        self.k = 1.4
        k = self.k
        self.k2_kp1 = 2 / (k + 1)
        self.kp1_2km1 = ((k + 1) / (k - 1)) / 2
        self.kp1_2km1_inv = 1 / self.kp1_2km1
        self.km1_2 = (k - 1) / 2
        self.N_conv, self.N_div = 20, 80
        self.N_tot = self.N_div + self.N_conv
        z = lambda: [0.0] * 501
        self.x, self.y, self.AA, self.M, self.PiPo = z(), z(), z(), z(), z()
        self.messages = []
        self.marks = []
        self.report = []

    def AAfM(self, Mi):
        q = 1 / Mi
        T = 1 + (self.km1_2 * Mi) * Mi
        return q * (self.k2_kp1 * T) ** self.kp1_2km1

    def PoP(self, Mi):
        T = 1 + (self.km1_2 * Mi) * Mi
        e = self.k / (self.k - 1)
        return T ** e

    def NS(self, M1):
        s = M1 * M1
        return math.sqrt((1 + self.km1_2 * s) / (self.k * s - self.km1_2))

    def P2P1(self, M1):
        c = self.k2_kp1 * self.k
        s = M1 * M1
        return 1 + c * (s - 1)

    def M_iter(self, AAr, Mr, rejim):
        M_new = 1.0
        if rejim == SUB:
            for _ in range(500):
                M_old = M_new
                T_r = 1 + (self.km1_2 * Mr) * Mr
                T = 1 + (self.km1_2 * M_old) * M_old
                M_new = (Mr / AAr) * (T / T_r) ** self.kp1_2km1
                if abs(M_new - M_old) < 0.00001:
                    return M_new
        elif rejim == SUP:
            for _ in range(500):
                M_old = M_new
                T_r = 1 + (self.km1_2 * Mr) * Mr
                M_new = math.sqrt((((AAr * M_old) / Mr) ** self.kp1_2km1_inv * T_r - 1) / self.km1_2)
                if abs(M_new - M_old) < 0.00001:
                    return M_new
        self.messages.append("iterasyon 500 adımda yakınsamadı")
        return M_new

    def log_area_ratio(self, M):
        # ln(A/A*) with log1p, exact next to Mach 1.
        a = self.k2_kp1 * self.km1_2
        return self.kp1_2km1 * math.log1p(a * ((M - 1) * (M + 1))) - math.log(M)

    def subsonic_twin(self, M):
        """The subsonic Mach number with the area ratio of M >= 1, by
        bisection to adjacent doubles (the program uses Newton steps)."""
        t = self.log_area_ratio(M)
        if not t > 0:
            return 1.0
        lo, hi = 0.0, 1.0
        for _ in range(3000):
            mid = (lo + hi) / 2
            if mid <= lo or mid >= hi:
                break
            if self.log_area_ratio(mid) > t:
                lo = mid
            else:
                hi = mid
        return min((lo, hi), key=lambda m: abs(self.log_area_ratio(m) - t) if m > 0 else math.inf)

    def mach_of_pressure(self, r):
        k = self.k
        return math.sqrt(((1 / r) ** ((k - 1) / k) - 1) * (2 / (k - 1)))

    def lule_geo(self):
        self.M_max = read_number(self.texts[0])
        self.AA_max = read_number(self.texts[1])
        self.i_NS = 1
        for i in range(1, self.N_conv + 1):
            self.x[i] = i / self.N_conv
            self.y[i] = self.AAfM(self.x[i]) / 2
        for i in range(1, self.N_div + 1):
            q = i / self.N_div
            d = self.M_max - 1
            self.x[self.N_conv + i] = d * q + 1
            self.y[self.N_conv + i] = self.AAfM(self.x[self.N_conv + i]) / 2
        for i in range(1, self.N_tot + 1):
            self.AA[i] = self.y[i] * 2
        self.x[self.N_tot + 1] = self.x[self.N_tot] + 0.1
        self.AAe = self.y[self.N_tot] * 2
        self.Me_sub = self.subsonic_twin(self.x[self.N_tot])

        def limit(m):
            t = m ** 2
            t = self.km1_2 * t
            t = t + 1
            e = self.k / (self.k - 1)
            return 1 / t ** e

        self.PePo_sub = limit(self.Me_sub)
        self.PePo_OS = limit(self.M_max)
        c = (2 * self.k) / (self.k + 1)
        self.PePo_NS = self.PePo_OS * ((self.M_max ** 2 - 1) * c + 1)
        self.report = [
            line("iMax=", self.N_tot),
            line("M_max=", self.x[self.N_tot]),
            line("Me_sub limit=", self.Me_sub),
            line("Pe/Po sesaltı limit=", self.PePo_sub),
            line("Pe/Po sesüstü limit(NShock)=", self.PePo_NS),
            line("Pe/Po sesüstü limit(OShock)=", self.PePo_OS),
        ]

    def search(self):
        i = self.N_conv + 1
        while i <= self.N_tot:
            M1 = self.M_iter(self.AA[i], 1, SUP)
            M2 = self.NS(M1)
            r1 = self.PoP(M1)
            r21 = self.P2P1(M1)
            r2 = self.PoP(M2)
            a2 = self.AAfM(M2)
            ae = (self.AAe / self.AA[i]) * a2
            Mx = self.M_iter(ae, 1, SUB)
            rx = self.PoP(Mx)
            P = (((1 / rx) * r2) * r21) / r1
            if P < self.PePo:
                break
            i += 1
        return i - 1

    def calc_flow(self):
        self.marks = []
        self.lule_geo()
        self.PePo = read_number(self.texts[2])
        N, C = self.N_tot, self.N_conv
        M, P, AA = self.M, self.PiPo, self.AA
        if self.PePo == 1:
            for i in range(1, N + 2):
                M[i] = 0.0
                P[i] = 1.0
            self.i_NS, self.Me, self.PePo_e = N, M[N], 1.0
            self.regime = "no flow"
            return
        S = self.PePo > self.PePo_sub and self.PePo < 1
        if S:
            Me_s = self.mach_of_pressure(self.PePo)
            R = min(1.0, self.AAe / self.AAfM(Me_s))
            for i in range(1, C + 1):
                M[i] = self.M_iter(AA[i] / R, 1, SUB)
                P[i] = 1 / self.PoP(M[i])
        else:
            for i in range(1, C + 1):
                M[i] = self.M_iter(AA[i], 1, SUB)
                P[i] = 1 / self.PoP(M[i])
        stage = None

        def close():
            self.i_NS, self.Me, self.PePo_e = N, M[N], P[N]
            M[N + 1], P[N + 1] = M[N], P[N]

        if S:
            stage = "subsonic throughout"
            for i in range(C + 1, N + 1):
                M[i] = self.M_iter(AA[i] / R, 1, SUB)
                P[i] = 1 / self.PoP(M[i])
            close()
        elif self.PePo == self.PePo_sub:
            stage = "choked subsonic"
            for i in range(C + 1, N + 1):
                M[i] = self.M_iter(AA[i], 1, SUB)
                P[i] = 1 / self.PoP(M[i])
            close()
        elif self.PePo < self.PePo_sub:
            stage = "normal shock inside"
            # Up to the top of the exit-shock band the divergent part is
            # supersonic throughout: no search.
            band = min(0.0001, 0.01 * self.PePo_NS)
            self.i_NS = N if self.PePo - self.PePo_NS < band else self.search()
            j = self.i_NS
            for i in range(C + 1, j + 1):
                M[i] = self.M_iter(AA[i], 1, SUP)
                P[i] = 1 / self.PoP(M[i])
            M1 = M[j]
            M2 = self.NS(M1)
            A2 = AA[j] / self.AAfM(M2)
            self.report.append(line("A2*=", A2))
            P1, p21, P2 = self.PoP(M1), self.P2P1(M1), self.PoP(M2)
            r0 = (P2 * p21) / P1
            self.report.append(line("Po2/Po*=", r0))
            self.Me, self.PePo_e = M2, r0 / P2
            shock_M2 = M2
            if self.PePo > self.PePo_NS:
                self.marks.append(("red", self.x[j], -self.y[j], self.x[j], self.y[j]))
            for i in range(j + 1, N + 1):
                M[i] = self.M_iter(AA[i] / A2, 1, SUB)
                P[i] = r0 / self.PoP(M[i])
            M[N + 1], P[N + 1] = M[N], P[N]
        xe, ye, L = self.x[N], self.y[N], AA[N]
        k = self.k
        pe = self.PePo
        sup = stage == "normal shock inside"
        if sup and pe > self.PePo_OS and pe < self.PePo_NS:
            M1 = self.M_max
            q = pe / self.PePo_OS
            Mn1sq = 1 + ((k + 1) / (2 * k)) * (q - 1)
            Mn1 = math.sqrt(Mn1sq)
            sb = Mn1 / M1
            cb = math.sqrt(max(0.0, 1 - sb * sb))
            b = math.atan(sb / cb)
            Mn2 = math.sqrt((1 + ((k - 1) / 2) * Mn1sq) / (k * Mn1sq - (k - 1) / 2))
            th = math.atan(2 * ((M1 * math.sin(b)) ** 2 - 1) /
                           (math.tan(b) * (M1 * M1 * (1.4 + math.cos(2 * b)) + 2)))
            M2 = Mn2 / math.sin(b - th)
            M[N], P[N], self.i_NS = M1, self.PePo_OS, N
            self.Me, self.PePo_e = M2, pe
            M[N + 1], P[N + 1] = M2, pe
            if abs(pe - self.PePo_NS) != 0.0001:
                self.marks.append(("red", xe, -ye, xe + L * cb, -ye + L * sb))
                self.marks.append(("red", xe, ye, xe + L * cb, ye - L * sb))
            self.regime = "oblique exit shocks"
        elif sup and pe >= self.PePo_NS and pe - self.PePo_NS < min(0.0001, 0.01 * self.PePo_NS):
            self.i_NS, self.Me, self.PePo_e = N, shock_M2, pe
            M[N + 1], P[N + 1] = shock_M2, pe
            self.regime = "normal shock at exit"
        elif sup and pe < self.PePo_NS:
            M[N], P[N], self.i_NS = self.M_max, self.PePo_OS, N
            self.Me = self.mach_of_pressure(pe)
            self.PePo_e = pe
            M[N + 1], P[N + 1] = self.Me, pe
            for s in (1 / self.M_max, 1 / self.Me):
                if s * s <= 1:
                    c = math.sqrt(1 - s * s)
                    self.marks.append(("blue", xe, -ye, xe + L * c, -ye + L * s))
                    self.marks.append(("blue", xe, ye, xe + L * c, ye - L * s))
            self.regime = "exit expansion"
        else:
            self.regime = stage or "not classified"

    def root(self, f, lo, hi):
        """Bisection of a function with f(lo) > 0 > f(hi) (or the other way
        round) down to adjacent doubles."""
        flo = f(lo)
        for _ in range(3000):
            mid = (lo + hi) / 2
            if mid <= min(lo, hi) or mid >= max(lo, hi):
                break
            if (f(mid) > 0) == (flo > 0):
                lo = mid
            else:
                hi = mid
        return (lo + hi) / 2

    def mach_of_area(self, a, supersonic):
        if not a > 1:
            return 1.0
        if supersonic:
            hi = 2.0
            while self.AAfM(hi) < a:
                hi *= 2
            return self.root(lambda m: self.AAfM(m) - a, 1.0, hi)
        return self.root(lambda m: self.AAfM(m) - a, 1e-300, 1.0)

    def shock_at(self, a):
        M1 = self.mach_of_area(a, True)
        M2 = self.NS(M1)
        r0 = (self.PoP(M2) * self.P2P1(M1)) / self.PoP(M1)
        Me = self.mach_of_area((self.AAe / a) * self.AAfM(M2), False)
        return {"x": M1, "AA": a, "M1": M1, "M2": M2, "p02_p01": r0, "Me": Me}, r0 / self.PoP(Me)

    def exact_shock(self):
        """The continuous solution's shock for a shock inside (also in the
        exit-shock band): the area ratio whose exit pressure is the back
        pressure, by bisection."""
        f = lambda a: self.shock_at(a)[1] - self.PePo
        if f(1.0) >= 0 and f(self.AAe) <= 0:
            return self.shock_at(self.root(f, 1.0, self.AAe))[0]
        mid = self.PePo_NS + (self.PePo_sub - self.PePo_NS) / 2
        return self.shock_at(1.0 if self.PePo > mid else self.AAe)[0]

    def figures(self):
        """Mass flow ratio and thrust coefficient with its parts; a subsonic
        jet leaves at the back pressure with the continuous solution's exit
        Mach number."""
        k, N, pe = self.k, self.N_tot, self.PePo
        out = {"mdot_ratio": 0.0, "C_F": 0.0, "C_F_momentum": 0.0, "C_F_pressure": 0.0,
               "pe_pb": self.PiPo[N] / pe, "exact_shock": None}
        if self.regime == "no flow":
            return out
        subsonic = self.regime in ("subsonic throughout", "choked subsonic")
        # The exit-shock band's shock is drawn in the exit plane but stands
        # just inside, with the jet at the back pressure.
        if subsonic or self.regime in ("normal shock inside", "normal shock at exit"):
            if subsonic:
                Me = self.mach_of_pressure(pe)
            else:
                out["exact_shock"] = self.exact_shock()
                Me = out["exact_shock"]["Me"]
            out["mdot_ratio"] = (min(1.0, self.AAe / self.AAfM(Me))
                                 if self.regime == "subsonic throughout" else 1.0)
            out["pe_pb"] = 1.0
            out["C_F"] = out["C_F_momentum"] = k * pe * Me * Me * self.AAe
            return out
        out["mdot_ratio"] = 1.0
        out["C_F_momentum"] = k * self.PiPo[N] * self.M[N] * self.M[N] * self.AAe
        out["C_F_pressure"] = (self.PiPo[N] - pe) * self.AAe
        out["C_F"] = out["C_F_momentum"] + out["C_F_pressure"]
        return out

    def as_json(self):
        N = self.N_tot
        return {
            **self.figures(),
            "report": self.report, "regime": self.regime, "i_NS": self.i_NS,
            "Me": self.Me, "PePo_e": self.PePo_e, "PePo": self.PePo,
            "M_max": self.M_max, "AA_max": self.AA_max, "AAe": self.AAe,
            "Me_sub": self.Me_sub, "PePo_sub": self.PePo_sub,
            "PePo_NS": self.PePo_NS, "PePo_OS": self.PePo_OS,
            "stations": [{"i": i, "x": self.x[i], "y": self.y[i], "AA": self.AA[i],
                          "M": self.M[i], "PiPo": self.PiPo[i]} for i in range(1, N + 2)],
            "marks": [{"color": c, "x1": a, "y1": b, "x2": d, "y2": e}
                      for (c, a, b, d, e) in self.marks],
            "messages": self.messages,
        }


def sweep(me="2"):
    """Seconds per calculation over fine-bar positions 1..1000."""
    start = time.perf_counter()
    for v in range(1, 1001):
        pepo = (1000 - v) / 1000 + 0.001
        m = Model(me, "3", general(pepo))
        m.calc_flow()
    return (time.perf_counter() - start) / 1000


if __name__ == "__main__":
    if len(sys.argv) >= 2 and sys.argv[1] == "--sweep":
        print("%.6e" % sweep(sys.argv[2] if len(sys.argv) > 2 else "2"))
    else:
        m = Model(*sys.argv[1:4])
        m.calc_flow()
        print(json.dumps(m.as_json()))
