// Starts Corvel Duvu in the page: the engine's worker, the page registry with every page,
// the training-file page first, and the service worker that keeps the site for use offline.
import { EngineBridge } from './bridge/engine_bridge';
import { showMessage } from './ui/dialogs';
import { PageId } from './pages/page_id';
import { PageRegistry } from './pages/page_registry';
import { PlotSSEdata } from './pages/chart/plot_sse_data';
import { TestDAM } from './pages/hub/test_dam';
import { ProbeNetwork } from './pages/probe/probe_network';
import { SaveResults } from './pages/save/save_results';
import { DistMem } from './pages/setup/dist_mem';
import { Network1 } from './pages/trainingfile/network1';
import { ViewWeights } from './pages/weights/view_weights';

const engine = new EngineBridge((fault) => void showMessage(
  `The engine could not be started in this browser: ${fault}\nCorvel Duvu needs WebAssembly with SIMD ` +
  '(Chrome and Edge 91, Firefox 89, Safari 16.4 or later).', 'Corvel Duvu', 'warning'));
const registry = new PageRegistry(engine, document.getElementById('pages') as HTMLElement, {
  [PageId.Network1]: (r) => new Network1(r),
  [PageId.DistMem]: (r) => new DistMem(r),
  [PageId.TestDAM]: (r) => new TestDAM(r),
  [PageId.ProbeNetwork]: (r) => new ProbeNetwork(r),
  [PageId.SaveResults]: (r) => new SaveResults(r),
  [PageId.PlotSSEdata]: (r) => new PlotSSEdata(r),
  [PageId.ViewWeights]: (r) => new ViewWeights(r),
});
void registry.open(PageId.Network1);

if ('serviceWorker' in navigator && location.protocol !== 'file:')
  navigator.serviceWorker.register('sw.js').catch(() => { /* the site still works online */ });
