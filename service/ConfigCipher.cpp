#include "service/ConfigCipher.h"

#include <openssl/evp.h>

#include <cstring>

namespace {
constexpr int kBlock = 16;
}

// Two single-block ECB contexts: CBC chaining and the tail rule are done here, since the tail
// rule is not a mode OpenSSL offers.
struct TConfigCipher::TContexts {
  EVP_CIPHER_CTX* Enc{nullptr};
  EVP_CIPHER_CTX* Dec{nullptr};
  bool Ok{false};
};

TConfigCipher::TConfigCipher() : FContexts(new TContexts) {
  const auto* key = reinterpret_cast<const unsigned char*>(KeyText);
  FContexts->Enc = EVP_CIPHER_CTX_new();
  FContexts->Dec = EVP_CIPHER_CTX_new();
  FContexts->Ok = FContexts->Enc && FContexts->Dec &&
                  EVP_EncryptInit_ex(FContexts->Enc, EVP_aes_256_ecb(), nullptr, key, nullptr) == 1 &&
                  EVP_DecryptInit_ex(FContexts->Dec, EVP_aes_256_ecb(), nullptr, key, nullptr) == 1 &&
                  EVP_CIPHER_CTX_set_padding(FContexts->Enc, 0) == 1 &&
                  EVP_CIPHER_CTX_set_padding(FContexts->Dec, 0) == 1;
}

TConfigCipher::~TConfigCipher() {
  EVP_CIPHER_CTX_free(FContexts->Enc);
  EVP_CIPHER_CTX_free(FContexts->Dec);
  delete FContexts;
}

static bool Block(EVP_CIPHER_CTX* ctx, const unsigned char* in, unsigned char* out) {
  int len = 0;
  return EVP_CipherUpdate(ctx, out, &len, in, kBlock) == 1 && len == kBlock;
}

bool TConfigCipher::Run(const std::string& input, std::string& output, bool encrypt) const {
  if (!FContexts->Ok) return false;
  unsigned char chain[kBlock] = {0};
  const unsigned char zero[kBlock] = {0};
  if (!Block(FContexts->Enc, zero, chain)) return false;  // the IV

  output.assign(input.size(), '\0');
  auto* out = reinterpret_cast<unsigned char*>(output.data());
  const size_t full = input.size() / kBlock * kBlock;
  for (size_t chunk = 0; chunk < full; chunk += ChunkSize) {
    const size_t chunkEnd = std::min(full, chunk + ChunkSize);
    for (size_t i = chunk; i < chunkEnd; i += kBlock) {
      unsigned char block[kBlock];
      for (int k = 0; k < kBlock; ++k) {
        unsigned char b = static_cast<unsigned char>(input[i + k]);
        block[k] = encrypt ? (b ^ chain[k]) : (b ^ Mask);
      }
      if (encrypt) {
        if (!Block(FContexts->Enc, block, chain)) return false;
        for (int k = 0; k < kBlock; ++k) out[i + k] = chain[k] ^ Mask;
      } else {
        unsigned char plain[kBlock];
        if (!Block(FContexts->Dec, block, plain)) return false;
        for (int k = 0; k < kBlock; ++k) out[i + k] = plain[k] ^ chain[k];
        std::memcpy(chain, block, kBlock);
      }
    }
  }
  if (full < input.size()) {
    unsigned char pad[kBlock];
    if (!Block(FContexts->Enc, chain, pad)) return false;
    for (size_t i = full; i < input.size(); ++i) {
      unsigned char b = static_cast<unsigned char>(input[i]);
      out[i] = encrypt ? ((b ^ pad[i - full]) ^ Mask) : ((b ^ Mask) ^ pad[i - full]);
    }
  }
  return true;
}

bool TConfigCipher::Encrypt(const std::string& plain, std::string& stored) const {
  return Run(plain, stored, true);
}

bool TConfigCipher::Decrypt(const std::string& stored, std::string& plain) const {
  return Run(stored, plain, false);
}
