// Glyphs drawn from a font file as a run asks for them: run with
//   build/tests/bin/lumadot-bench --benchmark_filter=Rendered
#include <benchmark/benchmark.h>

#include <string>

#include "extract/glyphs.h"
#include "fonts/rendered_glyphs.h"

namespace lumadot {
namespace {

// A shop's notice, 200 characters: 75 Chinese ones and punctuation, the rest
// Latin letters, digits and spaces, many of them more than once.
const std::u16string kNotice =
    u"欢迎光临本店！今日特价：苹果每斤5.8元，香蕉每斤3.5元，新鲜蔬菜八折。"
    u"Welcome to our store! Today: apples 5.8 yuan, bananas 3.5 yuan a jin, fresh vegetables 20% off. "
    u"营业时间：早上八点至晚上十点，节假日照常营业。Open daily 8:00-22:00. 请保持安静，谢谢您的支持与合作！欢迎再来。";

// Everything a run at 24 dots does before it lists: the font opened, its
// baseline chosen, and the text's glyphs drawn.
void BM_RenderedNoticeAt24(benchmark::State& state) {
  if (kNotice.size() != 200) return state.SkipWithError("the notice is not 200 characters");
  for (auto _ : state) {
    auto source = RenderedGlyphs::open("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 0, {}, CellSize{24, 24});
    if (!source) return state.SkipWithError(source.error().text.c_str());
    const auto glyphs = lookUp(kNotice, {}, *source);
    if (!glyphs || glyphs->glyphs.size() != 200) return state.SkipWithError("lookup failed");
    benchmark::DoNotOptimize(glyphs->bytes.data());
  }
}

BENCHMARK(BM_RenderedNoticeAt24)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumadot
