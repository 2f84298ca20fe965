#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""MacCormack's predictor-corrector on the conservation form of the
quasi-one-dimensional nozzle flow, with the artificial viscosity written as
a difference of fluxes between neighbours, in NumPy: the same scheme and
ends as the native maccormack-conservative, on the textbook's contour
A = 1 + 2.2 (x - 1.5)^2 from its isentropic start. Prints (or returns) grid
point updates per second, in processor time as the native benchmarks count
their rates.

    maccormack_numpy.py [POINTS [STEPS]]
"""
import sys
import time

import numpy as np

K = 1.4


def start(n):
    x = np.linspace(0.0, 3.0, n)
    area = 1 + 2.2 * (x - 1.5) ** 2
    rho = 1 - 0.3146 * x
    temp = 1 - 0.2314 * x
    vel = (0.1 + 1.09 * x) * np.sqrt(temp)
    u1 = rho * area
    u2 = rho * area * vel
    u3 = rho * area * (temp / (K - 1) + K / 2 * vel * vel)
    return x[1] - x[0], area, np.array([u1, u2, u3])


def fluxes(u, area):
    u1, u2, u3 = u
    q = u2 * u2 / u1
    f = np.empty_like(u)
    f[0] = u2
    f[1] = q + (K - 1) / K * (u3 - K / 2 * q)
    f[2] = K * u2 * u3 / u1 - K * (K - 1) / 2 * q * u2 / u1
    vel = u2 / u1
    p = u1 / area * (K - 1) * (u3 / u1 - K / 2 * vel * vel)
    return f, p


def smoothing(u, p, cx):
    sensor = np.abs(p[2:] - 2 * p[1:-1] + p[:-2]) / (p[2:] + 2 * p[1:-1] + p[:-2])
    sensor = np.concatenate(([sensor[0]], sensor, [sensor[-1]]))
    face = 0.5 * (sensor[1:] + sensor[:-1])
    flux = face * (u[:, 1:] - u[:, :-1])
    return cx * (flux[:, 1:] - flux[:, :-1])


def ends(u, area, pb):
    u[0, 0] = area[0]
    u[1, 0] = 2 * u[1, 1] - u[1, 2]
    v = u[1, 0] / u[0, 0]
    u[2, 0] = u[0, 0] * (1 / (K - 1) + K / 2 * v * v)
    u[:2, -1] = 2 * u[:2, -2] - u[:2, -3]
    u[2, -1] = 2 * u[2, -2] - u[2, -3]
    vel = u[1, -2] / u[0, -2]
    temp = (K - 1) * (u[2, -2] / u[0, -2] - K / 2 * vel * vel)
    if vel < np.sqrt(temp):
        v = u[1, -1] / u[0, -1]
        u[2, -1] = pb * area[-1] / (K - 1) + K / 2 * u[1, -1] * v


def step(u, area, dx, courant, cx, pb):
    vel = u[1] / u[0]
    temp = (K - 1) * (u[2] / u[0] - K / 2 * vel * vel)
    dt = courant * dx / np.max(np.abs(vel) + np.sqrt(temp))
    f, p = fluxes(u, area)
    d = np.zeros_like(u)
    d[:, 1:-1] = -(f[:, 2:] - f[:, 1:-1]) / dx
    d[1, 1:-1] += p[1:-1] * (area[2:] - area[1:-1]) / (K * dx)
    bar = u.copy()
    bar[:, 1:-1] += d[:, 1:-1] * dt + smoothing(u, p, cx)
    g, pbar = fluxes(bar, area)
    e = np.zeros_like(u)
    e[:, 1:-1] = -(g[:, 1:-1] - g[:, :-2]) / dx
    e[1, 1:-1] += pbar[1:-1] * (area[1:-1] - area[:-2]) / (K * dx)
    new = u.copy()
    new[:, 1:-1] += 0.5 * (d[:, 1:-1] + e[:, 1:-1]) * dt + smoothing(bar, pbar, cx)
    ends(new, area, pb)
    return new


def updates_per_second(points=400, steps=2000, courant=0.5, cx=0.2, pb=0.0935):
    dx, area, u = start(points)
    began = time.process_time()
    for _ in range(steps):
        u = step(u, area, dx, courant, cx, pb)
    seconds = time.process_time() - began
    if not np.all(np.isfinite(u)):
        raise RuntimeError("the NumPy MacCormack run broke down")
    return points * steps / seconds, u, area


def main():
    points = int(sys.argv[1]) if len(sys.argv) > 1 else 400
    steps = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rate, u, area = updates_per_second(points, steps)
    throat = points // 2
    vel = u[1, throat] / u[0, throat]
    temp = (K - 1) * (u[2, throat] / u[0, throat] - K / 2 * vel * vel)
    print("%d points, %d steps: %.3g point updates per second; throat M %.4f"
          % (points, steps, rate, vel / np.sqrt(temp)))


if __name__ == "__main__":
    main()
