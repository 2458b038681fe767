#include "handshake_counter.h"

namespace testhost {
namespace {

// Where a context keeps its counter for the info callback.
int CounterIndex() {
  static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
  return index;
}

}  // namespace

bool HandshakeCounter::CountOn(SSL_CTX* context) {
  if (context == nullptr || CounterIndex() < 0 ||
      SSL_CTX_set_ex_data(context, CounterIndex(), this) != 1) {
    return false;
  }
  SSL_CTX_set_info_callback(context, &HandshakeCounter::OnInfo);
  return true;
}

void HandshakeCounter::OnInfo(const SSL* ssl, int where, int /*ret*/) {
  if ((where & SSL_CB_HANDSHAKE_START) == 0) return;
  auto* counter =
      static_cast<HandshakeCounter*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), CounterIndex()));
  if (counter != nullptr) ++counter->begun_;
}

}  // namespace testhost
