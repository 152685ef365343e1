#include "common/Random.h"

namespace luneth {

namespace {
// The binding of this thread, and the stream a thread draws from before anything is bound.
thread_local RandomStream t_unboundStream;
thread_local RandomStream* t_bound = nullptr;
}  // namespace

RandomStream& BoundRandomStream() { return t_bound ? *t_bound : t_unboundStream; }

RandomBinding::RandomBinding(RandomStream& stream) : previous_(t_bound) { t_bound = &stream; }

RandomBinding::~RandomBinding() { t_bound = previous_; }

}  // namespace luneth
