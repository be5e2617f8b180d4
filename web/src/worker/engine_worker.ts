// The engine's worker: loads the core module and answers the pages' requests in order
// ({ id, op, args } -> { kind: 'reply', id, result | error }); a run's statuses come as
// { kind: 'status', status }. The page's own thread never runs the core.
import type createCorvelCoreType from '../../../src/web/corvel_core';
import { engineOps, type EngineOps } from './engine_ops';

// The core module's code comes before this worker's in the same script (build.mjs).
declare const createCorvelCore: typeof createCorvelCoreType;
declare function postMessage(message: unknown): void;

const ready: Promise<EngineOps> = (async () => {
  const core = await createCorvelCore();
  return engineOps(core, (status) => postMessage({ kind: 'status', status }));
})();

// A browser that cannot run the module (no WebAssembly SIMD) is told once, at the start.
ready.catch((error) => postMessage({ kind: 'fault', message: String(error) }));

self.onmessage = async (event: MessageEvent) => {
  const { id, op, args } = event.data as { id: number; op: keyof EngineOps; args: unknown[] };
  try {
    const ops = await ready;
    const result = (ops[op] as (...a: unknown[]) => unknown)(...args);
    postMessage({ kind: 'reply', id, result });
  } catch (error) {
    postMessage({ kind: 'reply', id, error: String(error) });
  }
};
