#pragma once
#include <string>

// The on-disk cipher of the browser's encrypted settings files: AES-256-CBC under a fixed key
// text, IV = AES of sixteen zero bytes, no padding (a short tail is XORed with the encryption
// of the last chaining value, so the cipher text is exactly as long as the plain text), and
// every cipher byte masked with 0xB6. Processing runs in 8192-byte chunks with the chaining
// value carried across, which gives the same bytes as one pass.
class TConfigCipher {
public:
  TConfigCipher();
  ~TConfigCipher();
  TConfigCipher(const TConfigCipher&) = delete;
  TConfigCipher& operator=(const TConfigCipher&) = delete;

  // Both return false only when the cipher library fails.
  bool Encrypt(const std::string& plain, std::string& stored) const;
  bool Decrypt(const std::string& stored, std::string& plain) const;

  static constexpr const char* KeyText = "kX4_rT9mQ2wE7_zL5pV8_cJ3nH6yA1s=";
  static constexpr unsigned char Mask = 0xB6;
  static constexpr size_t ChunkSize = 8192;

private:
  bool Run(const std::string& input, std::string& output, bool encrypt) const;
  struct TContexts;
  TContexts* FContexts{nullptr};
};
