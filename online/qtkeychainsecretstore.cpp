#include "qtkeychainsecretstore.h"

#include "onlinelog.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace wordlumen {

namespace {

/// Runs a job to its end; the job must not delete itself.
SecretStoreStatus runToEnd(QKeychain::Job &job)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    QEventLoop loop;
    bool done = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&done, &loop] {
        done = true;
        loop.quit();
    });
    job.start();
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    switch (job.error()) {
    case QKeychain::NoError:
        return SecretStoreStatus::success();
    case QKeychain::EntryNotFound:
        return SecretStoreStatus::itemNotFound();
    default:
        // The error text names the backend's trouble, never the secret.
        qCInfo(lcOnline) << "keyring job failed:" << job.error() << job.errorString();
        return SecretStoreStatus::failure(job.error(), job.errorString());
    }
}

} // namespace

QtKeychainSecretStore::QtKeychainSecretStore(QString service, QString account)
    : m_service(std::move(service))
    , m_account(std::move(account))
{}

SecretStoreStatus QtKeychainSecretStore::read(QByteArray *data)
{
    QKeychain::ReadPasswordJob job(m_service);
    job.setKey(m_account);
    SecretStoreStatus status = runToEnd(job);
    if (status.ok())
        *data = job.binaryData();
    return status;
}

SecretStoreStatus QtKeychainSecretStore::update(const QByteArray &data)
{
    QByteArray existing;
    SecretStoreStatus found = read(&existing);
    if (!found.ok())
        return found;
    return write(data);
}

SecretStoreStatus QtKeychainSecretStore::add(const QByteArray &data)
{
    return write(data);
}

SecretStoreStatus QtKeychainSecretStore::remove()
{
    QKeychain::DeletePasswordJob job(m_service);
    job.setKey(m_account);
    return runToEnd(job);
}

SecretStoreStatus QtKeychainSecretStore::write(const QByteArray &data)
{
    QKeychain::WritePasswordJob job(m_service);
    job.setKey(m_account);
    // Stored as text so the item holds the key's UTF-8 bytes as they are.
    job.setTextData(QString::fromUtf8(data));
    return runToEnd(job);
}

} // namespace wordlumen
