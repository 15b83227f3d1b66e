#include "hostsim/LiveObjects.h"

#include <atomic>

namespace sendnote::hostsim {
namespace {
std::atomic<long> g_live{0};
}  // namespace

long LiveObjects::Count() { return g_live; }
void LiveObjects::Created() { ++g_live; }
void LiveObjects::Destroyed() { --g_live; }

}  // namespace sendnote::hostsim
