// The Reynolds equation for a finite full journal bearing, solved by finite
// volumes and projected successive over-relaxation.
//
// With H = h/C = 1 + eps cos(phi) (phi from the widest gap, in the direction
// of rotation), Z = 2z/B and P = p psi^2 / (eta omega) it reads
//   d/dphi (H^3 dP/dphi) + (D/B)^2 d/dZ (H^3 dP/dZ) = 6 dH/dphi,
// with P = 0 at phi = 0 and 2 pi and at Z = +-1, and P >= 0 everywhere.
#include "reynolds.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double PI = 3.14159265358979323846;

double film(double eps, double phi) { return 1 + eps * std::cos(phi); }

// The pressure field on the grid: nodes (i, j) at phi[i] and Z = j / across.
struct Field {
  std::vector<double> phi;
  std::vector<double> p;
  int around = 0;
  int across = 0;
  double at(int i, int j) const { return p[static_cast<size_t>(i * (across + 1) + j)]; }
  double& at(int i, int j) { return p[static_cast<size_t>(i * (across + 1) + j)]; }
};

// Nodes around the circumference, uniform in theta and mapped by
// phi = theta + a sin(theta): spacing shrinks by 1 - a at the narrow gap,
// where the pressure peaks within about sqrt(1 - eps) of it.
std::vector<double> nodesAround(double eps, int around) {
  const double a = 1 - std::sqrt(1 - eps);
  std::vector<double> phi(static_cast<size_t>(around + 1));
  for (int i = 0; i <= around; ++i) {
    const double theta = 2 * PI * i / around;
    phi[static_cast<size_t>(i)] = theta + a * std::sin(theta);
  }
  return phi;
}

// The coefficients of one node's balance of flow between its neighbours.
struct Node {
  double east, west, across, source, sum;
};

std::vector<Node> balances(const std::vector<double>& phi, double eps, double widthRatio,
                           int across) {
  const double dz = 1.0 / across;
  const double k = 1 / (widthRatio * widthRatio);  // (D/B)^2
  std::vector<Node> nodes(phi.size());
  for (size_t i = 1; i + 1 < phi.size(); ++i) {
    const double hEast = film(eps, (phi[i] + phi[i + 1]) / 2);
    const double hWest = film(eps, (phi[i - 1] + phi[i]) / 2);
    const double h = film(eps, phi[i]);
    Node& n = nodes[i];
    n.east = std::pow(hEast, 3) / (phi[i + 1] - phi[i]);
    n.west = std::pow(hWest, 3) / (phi[i] - phi[i - 1]);
    n.across = k * std::pow(h, 3) * (phi[i + 1] - phi[i - 1]) / 2 / (dz * dz);
    n.source = -6 * (hEast - hWest);
    n.sum = n.east + n.west + 2 * n.across;
  }
  return nodes;
}

// Projected over-relaxation until the largest change of a sweep is below
// 1e-9 of the peak pressure.
void relax(Field& f, const std::vector<Node>& nodes) {
  const double omega = 1.9;
  for (int sweep = 0; sweep < 200000; ++sweep) {
    double change = 0;
    double peak = 0;
    for (int i = 1; i < f.around; ++i) {
      const Node& n = nodes[static_cast<size_t>(i)];
      for (int j = 0; j < f.across; ++j) {
        const double north = f.at(i, j + 1);
        const double south = j == 0 ? north : f.at(i, j - 1);  // symmetric to the middle
        const double balanced = (n.east * f.at(i + 1, j) + n.west * f.at(i - 1, j) +
                                 n.across * (north + south) + n.source) /
                                n.sum;
        double& p = f.at(i, j);
        const double next = std::max(0.0, p + omega * (balanced - p));
        change = std::max(change, std::fabs(next - p));
        peak = std::max(peak, next);
        p = next;
      }
    }
    if (change <= 1e-9 * peak) return;
  }
}

}  // namespace

FilmSolution solveReynolds(double widthRatio, double eps, ReynoldsGrid grid) {
  Field f;
  f.around = grid.around;
  f.across = grid.across;
  f.phi = nodesAround(eps, grid.around);
  f.p.assign(static_cast<size_t>((grid.around + 1) * (grid.across + 1)), 0.0);
  relax(f, balances(f.phi, eps, widthRatio, grid.across));

  // Load components over the full width, Z from -1 to 1.
  const double dz = 1.0 / grid.across;
  double cosine = 0, sine = 0, endFlow = 0;
  for (int i = 1; i < grid.around; ++i) {
    const double phi = f.phi[static_cast<size_t>(i)];
    const double dphi = (f.phi[static_cast<size_t>(i + 1)] - f.phi[static_cast<size_t>(i - 1)]) / 2;
    for (int j = 0; j < grid.across; ++j) {
      const double weight = 2 * dphi * (j == 0 ? dz / 2 : dz);
      cosine += f.at(i, j) * std::cos(phi) * weight;
      sine += f.at(i, j) * std::sin(phi) * weight;
    }
    // dP/dZ at the end, second order from the two nodes inside.
    const double slope = (-4 * f.at(i, grid.across - 1) + f.at(i, grid.across - 2)) / (2 * dz);
    endFlow += std::pow(film(eps, phi), 3) * slope * dphi;
  }
  const double load = std::hypot(cosine, sine);
  FilmSolution s;
  s.so = load / 4;
  s.beta = std::atan2(sine, -cosine) * 180 / PI;
  // Couette shear 1/H over the whole film, exactly, and the pressure term
  // H/2 dP/dphi, which integrates by parts to eps/2 P sin(phi).
  s.friction = (4 * PI / std::sqrt(1 - eps * eps) + eps / 2 * sine) / load;
  s.q3 = -endFlow / (48 * widthRatio);
  return s;
}

double shortBearingSommerfeld(double widthRatio, double eps) {
  const double c = 1 - eps * eps;
  return widthRatio * widthRatio * eps * std::sqrt(PI * PI * c + 16 * eps * eps) / (2 * c * c);
}
