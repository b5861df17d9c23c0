#include "secretstore.h"

#include "qtkeychainsecretstore.h"

namespace wordlumen {

SecretStore::~SecretStore() = default;

SecretStore &SecretStore::system()
{
    static QtKeychainSecretStore store(QtKeychainSecretStore::kService,
                                       QtKeychainSecretStore::kAccount);
    return store;
}

} // namespace wordlumen
