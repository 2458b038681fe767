// The program's terminate handler: it ends the process as the runtime's
// default handler does, without first printing the exception's demangled
// type to a console a windowed program does not have. The runtime's handler
// is replaced by name, since the runtime names it itself; its definition,
// and with it the demangler (about 50 KB), then stays out of the program.
// The linker takes the first definition it meets, and the program's objects
// come before the runtime. Nothing of the program calls it: it must stay
// visible to the runtime through link-time optimisation.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
__attribute__((externally_visible)) void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
