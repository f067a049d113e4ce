#include "cli.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace cli {

bool is_batch(const QStringList &args)
{
    return args.size() > 1 && args.at(1) == u"evaluate"_s;
}

int run(const QStringList &)
{
    std::fputs("usage: ponsaiten evaluate FILE [--lower L] [--upper U] [--candidate K] [-o OUT]\n",
               stderr);
    return 2;
}

}  // namespace cli
