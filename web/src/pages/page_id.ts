// The program's pages; each exists at most once.
export enum PageId {
  Network1 = 'Network1',
  DistMem = 'DistMem',
  TestDAM = 'TestDAM',
  ProbeNetwork = 'ProbeNetwork',
  SaveResults = 'SaveResults',
  PlotSSEdata = 'PlotSSEdata',
  ViewWeights = 'ViewWeights',
}
