#pragma once

/** The base of every interface that modules offer to each other through IModularFeatures. */
class IModularFeature
{
public:
    virtual ~IModularFeature() = default;
};
