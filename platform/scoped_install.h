// Swapping a platform service for the length of a scope, as tests do:
//   MemoryFileSystem fs(PathStyle::kWindows);
//   ScopedInstall<FileSystem, installFileSystem> use(&fs);

#ifndef VELKARO_PLATFORM_SCOPED_INSTALL_H_
#define VELKARO_PLATFORM_SCOPED_INSTALL_H_

namespace velkaro {

template <typename Interface, Interface* (*Install)(Interface*)>
class ScopedInstall {
 public:
  explicit ScopedInstall(Interface* service) : previous_(Install(service)) {}
  ~ScopedInstall() { Install(previous_); }
  ScopedInstall(const ScopedInstall&) = delete;
  ScopedInstall& operator=(const ScopedInstall&) = delete;

 private:
  Interface* previous_;
};

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_SCOPED_INSTALL_H_
