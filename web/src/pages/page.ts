// What every page is: a window caption (shown as the page's top heading and the browser's
// title), its controls in one element, a load step run when it is created and an activation
// step run each time it comes to the front.
import { el } from '../ui/dom';
import type { PageId } from './page_id';
import type { PageRegistry } from './page_registry';

export abstract class Page {
  readonly root: HTMLElement;
  readonly heading: HTMLHeadingElement;

  constructor(readonly registry: PageRegistry, readonly id: PageId, readonly caption: string) {
    this.heading = el('h1', { class: 'caption', tabindex: -1 }, caption);
    this.root = el('div', { class: `page ${id}`, 'data-page': id }, this.heading);
  }

  get engine() { return this.registry.engine; }

  formLoad(): void | Promise<void> {}
  formActivate(): void | Promise<void> {}
  // A page whose run cannot be left yet says no (the set-up page while it trains).
  canLeave(): boolean { return true; }
}
