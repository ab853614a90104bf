#include "assets/KurikoshiSyori.h"

#include "assets/KurikoshiDocument.h"
#include "document/MyDocument.h"

namespace kivo {

KurikoshiSyori::Result KurikoshiSyori::run(MyDocument& old, const TermSettings& term, bool doUseWareki,
                                           int32_t roundingType, const Steps& steps)
{
  Result result;
  // Settings the window would refuse (a term past the last day the file holds) make a
  // document that never reads back: refused before anything is touched.
  result.termRefusal = term.check();
  if (result.termRefusal.isRefused()) {
    result.status = Result::Status::TermRefused;
    return result;
  }
  const auto phase = [&](Phase p) {
    if (steps.didStartPhase) steps.didStartPhase(p);
  };
  KurikoshiZandaka::Progress progress;
  progress.didStartPhase = [&](KurikoshiZandaka::Phase p) {
    phase(p == KurikoshiZandaka::Phase::Preparing ? Phase::PreparingZandaka
          : p == KurikoshiZandaka::Phase::Posting ? Phase::PostingShiwake
                                                  : Phase::FinishingZandaka);
  };
  progress.didPostShiwake = steps.didPostShiwake;
  result.zandaka = KurikoshiZandaka::compute(old, progress);
  if (result.zandaka.isRefused()) {
    result.status = Result::Status::Refused;
    return result;
  }
  phase(Phase::MakingDocument);
  std::unique_ptr<MyDocument> next = KurikoshiDocument::make(old, result.zandaka, term, doUseWareki, roundingType);
  if (!next) {
    result.status = Result::Status::NotMade;
    return result;
  }
  steps.addNextDocument(std::move(next));

  old.kaisya().setHasDoneKurikoshi(true);
  old.updateChangeCount(MyDocument::ChangeType::Done);
  if (!steps.saveOldDocument()) {
    old.kaisya().setHasDoneKurikoshi(false);
    result.status = Result::Status::OldNotSaved;
    return result;
  }
  steps.closeOldDocument();
  result.status = Result::Status::Done;
  return result;
}

}  // namespace kivo
