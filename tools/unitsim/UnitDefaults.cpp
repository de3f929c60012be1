#include "UnitDefaults.h"

#include <array>

namespace kvlink::sim {
namespace {

bool motor(int unitType) {
  return unitType == 0 || unitType == 2;
}

// Motor family (types 0, 2): thermal limit, over-/undercurrent, unbalance, temperature, earth
// leakage set points, FLA, service factor, program-mode words, CTs; then a running motor.
constexpr std::array<RegisterValue, 37> kMotor{{
    {0, 10},   {1, 8},   {2, 400}, {3, 300}, {4, 101},  {5, 101},  {6, 30}, {7, 20},
    {8, 150},  {9, 130}, {10, 50}, {11, 40}, {12, 100}, {13, 115}, {14, 0}, {15, 0},
    {16, 150}, {17, 50}, {24, 96}, {25, 96}, {26, 118}, {27, 55},  {28, 3}, {29, 46},
    {30, 2},   {31, 14}, {32, 0},  {33, 0},  {34, 0},   {35, 0},   {36, 0}, {37, 0},
    {38, 0},   {40, 0},  {41, 0},  {42, 3},  {43, 312},
}};

// Feeder family (types 1, 4): thermal, short time, instantaneous, unbalance, temperature,
// earth leakage set points, FLA, service factor, program-mode words, CTs; then a closed breaker.
constexpr std::array<RegisterValue, 37> kFeeder{{
    {0, 20},   {1, 15},   {2, 40},   {3, 91},   {4, 80},   {5, 91},   {6, 30},    {7, 76},
    {8, 225},  {9, 225},  {10, 20},  {11, 15},  {12, 400}, {13, 100}, {14, 0},    {15, 0},
    {16, 600}, {17, 100}, {24, 322}, {25, 318}, {26, 325}, {27, 2},   {28, 1},    {29, 21},
    {30, 0},   {31, 0},   {32, 0},   {33, 0},   {34, 0},   {35, 0},   {36, 1234}, {37, 0},
    {38, 0},   {40, 0},   {41, 0},   {42, 3},   {43, 205},
}};

constexpr std::array<MeterMotion, 6> kMotorMotion{{
    {24, 4, true},
    {25, 4, true},
    {27, 5, true},
    {28, 1, true},
    {29, 3, false},
    {31, 3, true},
}};

constexpr std::array<MeterMotion, 6> kFeederMotion{{
    {24, 8, true},
    {25, 8, true},
    {26, 8, true},
    {27, 1, true},
    {28, 1, true},
    {29, 3, true},
}};

constexpr std::array<int, 11> kMotorRecord{24, 25, 28, 29, 30, 31, 32, 33, 34, 35, 36};
constexpr std::array<int, 12> kFeederRecord{24, 25, 26, 28, 29, 36, 30, 31, 32, 33, 34, 35};

}  // namespace

std::span<const RegisterValue> unitDefaults(int unitType) {
  if (motor(unitType)) return kMotor;
  return kFeeder;
}

std::span<const MeterMotion> meterMotion(int unitType) {
  if (motor(unitType)) return kMotorMotion;
  return kFeederMotion;
}

std::span<const int> recordSources(int unitType) {
  if (motor(unitType)) return kMotorRecord;
  return kFeederRecord;
}

}  // namespace kvlink::sim
